#include "ui/logic/skin_keys.h"
#include "ui/skin/skin_error.h"
#include "ui/skin/skin_pictures.h"

#include "skin_test_support.h"

#include <QPainter>

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

// A picture drawn at 1x and 2x, each pixel telling where it came from: tag 1 in the 1x file, 2 in
// the 2x file.
class ScaledPicturesTest : public SkinPicturesTest {
protected:
    const SkinPicture& both(const char* name = "state.png") {
        folder_.save(name, test::coordinate_picture({40, 30}, 1));
        folder_.save(skin_keys::scaled_picture_file(name, 2).string(),
                     test::coordinate_picture({80, 60}, 2));
        return cache_.picture(folder_.path() / name);
    }
};

TEST_F(ScaledPicturesTest, EachScreenGetsTheFileOfItsScaleAtTheSameLogicalSize) {
    const SkinPicture& picture = both();
    EXPECT_EQ(picture.size(), QSize(40, 30));
    // A screen at 1x never decodes the 2x file.
    const QPixmap& plain = picture.pixmap(1);
    EXPECT_EQ(plain.devicePixelRatio(), 1.0);
    EXPECT_EQ(plain.toImage().pixelColor(39, 29), QColor(39, 29, 1));
    EXPECT_EQ(cache_.decoded_count(), 1);
    const QPixmap& sharp = picture.pixmap(2);
    EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
    EXPECT_EQ(sharp.size(), QSize(80, 60));
    EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(40, 30));
    EXPECT_EQ(sharp.toImage().pixelColor(79, 59), QColor(79, 59, 2));
    EXPECT_EQ(cache_.decoded_count(), 2);
    // Between the scales the finer file is shrunk; beyond the finest, the finest is enlarged.
    EXPECT_EQ(picture.scale_for(0.75), 1);
    EXPECT_EQ(picture.scale_for(1.0), 1);
    EXPECT_EQ(picture.scale_for(1.25), 2);
    EXPECT_EQ(picture.scale_for(3.0), 2);
    EXPECT_EQ(picture.pixmap(1.5).cacheKey(), sharp.cacheKey());
    cache_.release();
    EXPECT_EQ(cache_.decoded_count(), 0);
}

TEST_F(ScaledPicturesTest, WithoutAUsable2xFileThe1xOneServesEveryScreen) {
    folder_.save("only.png", test::coordinate_picture({40, 30}, 1));
    // Not twice the size: a 2x file drawn for another picture, or by mistake.
    folder_.save("odd.png", test::coordinate_picture({40, 30}, 1));
    folder_.save("odd@2x.png", test::coordinate_picture({81, 60}, 2));
    folder_.save("broken.png", test::coordinate_picture({40, 30}, 1));
    folder_.write("broken@2x.png", "not a picture");
    for (const char* name : {"only.png", "odd.png", "broken.png"}) {
        SCOPED_TRACE(name);
        const SkinPicture& picture = cache_.picture(folder_.path() / name);
        const QPixmap& pixmap = picture.pixmap(2);
        EXPECT_EQ(pixmap.devicePixelRatio(), 1.0);
        EXPECT_EQ(pixmap.size(), QSize(40, 30));
        EXPECT_EQ(pixmap.toImage().pixelColor(5, 6), QColor(5, 6, 1));
        EXPECT_EQ(picture.decoded_count(), 1);
    }
}

TEST_F(ScaledPicturesTest, DrawingCutsTheSameLogicalBlockFromEitherFile) {
    const SkinPicture& picture = both();
    const auto draw = [&](qreal ratio) {
        QImage surface(QSize(20, 10) * ratio, QImage::Format_RGB32);
        surface.setDevicePixelRatio(ratio);
        surface.fill(Qt::black);
        QPainter painter(&surface);
        // The block at (10, 5) of the picture, into the surface at (2, 1).
        draw_skin_picture(painter, QRectF(2, 1, 8, 6), picture, QRectF(10, 5, 8, 6));
        return surface;
    };
    const QImage plain = draw(1);
    EXPECT_EQ(plain.pixelColor(2, 1), QColor(10, 5, 1));
    EXPECT_EQ(plain.pixelColor(9, 6), QColor(17, 10, 1));
    EXPECT_EQ(plain.pixelColor(10, 7), QColor(Qt::black));
    const QImage sharp = draw(2);
    EXPECT_EQ(sharp.pixelColor(4, 2), QColor(20, 10, 2));
    EXPECT_EQ(sharp.pixelColor(19, 13), QColor(35, 21, 2));
    EXPECT_EQ(sharp.pixelColor(20, 14), QColor(Qt::black));
    // At 150 % the 2x file, shrunk: its coordinates still lead to the same block.
    const QImage between = draw(1.5);
    EXPECT_EQ(between.pixelColor(3, 2).blue(), 2);
    EXPECT_NEAR(between.pixelColor(3, 2).red(), 20, 2);
    EXPECT_NEAR(between.pixelColor(3, 2).green(), 10, 2);
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
