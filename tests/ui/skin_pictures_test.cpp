#include "ui/skin/skin_error.h"
#include "ui/skin/skin_pictures.h"

#include "skin_test_support.h"

#include <gtest/gtest.h>

namespace tarvenor {
namespace {

std::string error_of(const std::function<void()>& action) {
    try {
        action();
    } catch (const SkinError& error) {
        return error.what();
    }
    return {};
}

class SkinPicturesTest : public ::testing::Test {
protected:
    test::TempFolder folder_;
    SkinPictures cache_;
};

TEST_F(SkinPicturesTest, NamingAPictureReadsItsSizeWithoutDecodingIt) {
    folder_.save("state.png", test::coordinate_picture({40, 30}, 0));
    folder_.save("state.bmp", test::coordinate_picture({70, 20}, 0));
    folder_.save("state.jpg", test::coordinate_picture({33, 17}, 0));
    EXPECT_EQ(cache_.picture(folder_.path() / "state.png").size(), QSize(40, 30));
    EXPECT_EQ(cache_.picture(folder_.path() / "state.bmp").size(), QSize(70, 20));
    EXPECT_EQ(cache_.picture(folder_.path() / "state.jpg").size(), QSize(33, 17));
    EXPECT_EQ(cache_.decoded_count(), 0);
}

TEST_F(SkinPicturesTest, MissingOrUnreadablePicturesAreNamedWhenNamed) {
    folder_.write("broken.jpg", "not a picture");
    std::filesystem::create_directory(folder_.path() / "folder.bmp");
    for (const char* name : {"absent.jpg", "broken.jpg", "folder.bmp"}) {
        SCOPED_TRACE(name);
        const std::string error = error_of([&] { cache_.picture(folder_.path() / name); });
        EXPECT_NE(error.find(name), std::string::npos) << error;
    }
}

TEST_F(SkinPicturesTest, AHeaderFarIntoTheFileIsStillFound) {
    // A JPEG whose size comes after long comment segments.
    QImage picture = test::coordinate_picture({21, 13}, 5);
    picture.setText(QStringLiteral("One"), QString(60000, QLatin1Char('x')));
    picture.setText(QStringLiteral("Two"), QString(60000, QLatin1Char('y')));
    folder_.save("late.jpg", picture);
    ASSERT_GT(std::filesystem::file_size(folder_.path() / "late.jpg"), 100000u);
    EXPECT_EQ(cache_.picture(folder_.path() / "late.jpg").size(), QSize(21, 13));
}

TEST_F(SkinPicturesTest, OneFileIsOneEntryDecodedOnceOnFirstUse) {
    folder_.save("state.png", test::coordinate_picture({40, 30}, 7));
    const SkinPicture& first = cache_.picture(folder_.path() / "state.png");
    const SkinPicture& again = cache_.picture(folder_.path() / "." / "state.png");
    EXPECT_EQ(&first, &again);
    EXPECT_FALSE(first.decoded());
    const QPixmap& pixmap = first.pixmap();
    EXPECT_TRUE(first.decoded());
    EXPECT_EQ(pixmap.toImage().pixelColor(29, 19), QColor(29, 19, 7));
    EXPECT_EQ(pixmap.cacheKey(), again.pixmap().cacheKey());
    EXPECT_EQ(cache_.decoded_count(), 1);
}

TEST_F(SkinPicturesTest, ReleasedPicturesAreDecodedAgainWhenNextDrawn) {
    folder_.save("a.png", test::coordinate_picture({10, 10}, 1));
    folder_.save("b.png", test::coordinate_picture({10, 10}, 2));
    const SkinPicture& a = cache_.picture(folder_.path() / "a.png");
    const SkinPicture& b = cache_.picture(folder_.path() / "b.png");
    a.pixmap();
    b.pixmap();
    cache_.release();
    EXPECT_EQ(cache_.decoded_count(), 0);
    EXPECT_EQ(a.pixmap().toImage().pixelColor(3, 4), QColor(3, 4, 1));
    EXPECT_EQ(cache_.decoded_count(), 1);
}

TEST_F(SkinPicturesTest, APictureBrokenAfterItWasNamedDrawsNothing) {
    folder_.save("state.png", test::coordinate_picture({10, 10}, 1));
    const SkinPicture& picture = cache_.picture(folder_.path() / "state.png");
    std::filesystem::remove(folder_.path() / "state.png");
    EXPECT_TRUE(picture.pixmap().isNull());
    EXPECT_FALSE(picture.decoded());
}

TEST(SkinPictureDecoding, DecodesByContentOrNamesTheFile) {
    test::TempFolder folder;
    // A bitmap under a JPEG name: the content decides.
    folder.save("state.bmp", test::coordinate_picture({40, 30}, 3));
    std::filesystem::rename(folder.path() / "state.bmp", folder.path() / "state.jpg");
    EXPECT_EQ(decode_skin_picture(folder.path() / "state.jpg").pixelColor(5, 6), QColor(5, 6, 3));
    const std::string error = error_of([&] { decode_skin_picture(folder.path() / "absent.jpg"); });
    EXPECT_NE(error.find("absent.jpg"), std::string::npos) << error;
}

} // namespace
} // namespace tarvenor
