#include "ui/skin/skin_error.h"
#include "ui/skin/skinned_dialog.h"
#include "ui/skin/window_shape.h"

#include "skin_test_support.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <array>

namespace tarvenor {
namespace {

// A dialog that applies its skin when asked, as derived dialogs do in their initialisation.
class ExposedSkinDialog : public SkinnedDialog {
public:
    using SkinnedDialog::SkinnedDialog;
    void apply() { apply_skin(); }
};

// Keeps Enter and Escape from closing it, as the skinned windows do; notes the keys it passes on.
class ButtonsOnlyDialog : public ExposedSkinDialog {
public:
    using ExposedSkinDialog::ExposedSkinDialog;
    std::vector<int> passed_on;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (swallow_closing_key(event)) {
            return;
        }
        passed_on.push_back(event->key());
        ExposedSkinDialog::keyPressEvent(event);
    }
};

QImage background_picture() {
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(QColor(30, 30, 40));
    return picture;
}

// White everywhere except a disc and a few scattered pixels, one of them almost white.
QImage outline_picture() {
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(5, 5, 20, 20);
    painter.end();
    picture.setPixel(39, 0, qRgb(254, 255, 255));
    picture.setPixel(0, 29, qRgb(0, 0, 0));
    return picture;
}

void expect_region_is_non_white(const QRegion& region, const QImage& picture) {
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const bool white = (picture.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF;
            ASSERT_EQ(region.contains(QPoint(x, y)), !white) << x << "," << y;
        }
    }
}

TEST(WindowShape, RunsAreMaximalAndRowOrdered) {
    QImage picture(8, 2, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (const int x : {0, 1, 4, 5, 6}) {
        picture.setPixel(x, 0, qRgb(10, 10, 10));
    }
    picture.setPixel(7, 1, qRgb(255, 255, 254));
    const std::vector<QRect> runs = opaque_runs(picture);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0], QRect(0, 0, 2, 1));
    EXPECT_EQ(runs[1], QRect(4, 0, 3, 1));
    EXPECT_EQ(runs[2], QRect(7, 1, 1, 1));
}

TEST(WindowShape, RegionExcludesExactlyTheWhitePixels) {
    const QImage picture = outline_picture();
    expect_region_is_non_white(outline_region(picture), picture);
}

TEST(WindowShape, PalettePicturesGiveTheRunsOfTheirColours) {
    // One-bit outlines (the skin's masks) and 8-bit palettes are read through their colour
    // table, whichever index holds white; a near-white entry is not white.
    const QImage picture = outline_picture();
    for (const QImage::Format format : {QImage::Format_Mono, QImage::Format_MonoLSB}) {
        const QImage mono = picture.convertToFormat(format, Qt::ThresholdDither);
        QImage swapped = mono;
        swapped.invertPixels();
        swapped.setColorTable({mono.color(1), mono.color(0)});
        ASSERT_EQ(swapped.convertToFormat(QImage::Format_RGB32),
                  mono.convertToFormat(QImage::Format_RGB32));
        for (const QImage& outline : {mono, swapped}) {
            EXPECT_EQ(opaque_runs(outline),
                      opaque_runs(outline.convertToFormat(QImage::Format_RGB32)));
            expect_region_is_non_white(outline_region(outline), outline);
        }
    }
    QImage indexed(5, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 255, 255), qRgb(255, 255, 254), qRgb(0, 0, 0)});
    for (int x = 0; x < 5; ++x) {
        indexed.setPixel(x, 0, std::array{0, 1, 1, 0, 2}[static_cast<std::size_t>(x)]);
    }
    const std::vector<QRect> runs = opaque_runs(indexed);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0], QRect(1, 0, 2, 1));
    EXPECT_EQ(runs[1], QRect(4, 0, 1, 1));
}

TEST(WindowShape, BatchingDoesNotChangeTheRegion) {
    // A checkerboard has one run per dark pixel: 1250 runs, several batches of 7.
    QImage picture(50, 50, QImage::Format_RGB32);
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 50; ++x) {
            picture.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(1, 2, 3));
        }
    }
    EXPECT_EQ(opaque_runs(picture).size(), 1250u);
    const QRegion batched = outline_region(picture, 7);
    EXPECT_EQ(batched, outline_region(picture));
    expect_region_is_non_white(batched, picture);
}

TEST(WindowShape, AllWhiteOrNullGivesNothing) {
    QImage white(16, 16, QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_TRUE(outline_region(white).isEmpty());
    EXPECT_TRUE(outline_region(QImage()).isEmpty());
}

class SkinnedDialogTest : public ::testing::Test {
protected:
    std::filesystem::path ini() const { return folder_.path() / "Test.ini"; }

    test::TempFolder folder_;
};

TEST_F(SkinnedDialogTest, TakesSizeFromTheBackgroundAndShapeFromTheOutlineWhenShown) {
    folder_.save("back.bmp", background_picture());
    folder_.save("mask.bmp", outline_picture());
    folder_.write("Test.ini", "[SCREEN]\nMain=back.bmp\nMask=mask.bmp\n");
    ExposedSkinDialog dialog(nullptr, ini(), folder_.path());
    dialog.apply();
    EXPECT_EQ(dialog.size(), QSize(40, 30));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
    // Built but not shown, the dialog has decoded nothing.
    EXPECT_FALSE(dialog.skin_picture("back.bmp").decoded());
    EXPECT_TRUE(dialog.mask().isEmpty());
    dialog.show();
    expect_region_is_non_white(dialog.mask(), outline_picture());
    // The outline is not kept once the shape is made.
    EXPECT_FALSE(dialog.skin_picture("mask.bmp").decoded());
    // The background is what the dialog paints.
    EXPECT_EQ(dialog.grab().toImage().pixelColor(20, 2), QColor(30, 30, 40));
}

TEST_F(SkinnedDialogTest, MissingMaskFallsBackToTheBackground) {
    QImage background = outline_picture();
    background.setPixel(10, 10, qRgb(255, 255, 255));
    folder_.save("back.bmp", background);
    folder_.write("Test.ini", "[SCREEN]\nMain=back.bmp\n");
    ExposedSkinDialog dialog(nullptr, ini(), folder_.path());
    dialog.apply();
    dialog.show();
    expect_region_is_non_white(dialog.mask(), background);
}

TEST_F(SkinnedDialogTest, AllWhiteOutlineLeavesNothingOfTheWindow) {
    QImage white(40, 30, QImage::Format_RGB32);
    white.fill(Qt::white);
    folder_.save("back.bmp", background_picture());
    folder_.save("mask.bmp", white);
    folder_.write("Test.ini", "[SCREEN]\nMain=back.bmp\nMask=mask.bmp\n");
    ExposedSkinDialog dialog(nullptr, ini(), folder_.path());
    dialog.apply();
    dialog.show();
    EXPECT_FALSE(dialog.mask().isEmpty());
    EXPECT_FALSE(dialog.mask().intersects(dialog.rect()));
}

TEST_F(SkinnedDialogTest, MissingOrBrokenPictureIsReportedByName) {
    folder_.save("back.bmp", background_picture());
    folder_.write("broken.jpg", "not a picture");
    folder_.write("Test.ini", "[SCREEN]\nMain=back.bmp\nMask=broken.jpg\n");
    ExposedSkinDialog broken(nullptr, ini(), folder_.path());
    try {
        broken.apply();
        FAIL() << "a broken outline was accepted";
    } catch (const SkinError& error) {
        EXPECT_NE(std::string(error.what()).find("broken.jpg"), std::string::npos);
    }

    folder_.write("Test.ini", "[SCREEN]\nMain=gone.bmp\n");
    ExposedSkinDialog missing(nullptr, ini(), folder_.path());
    EXPECT_THROW(missing.apply(), SkinError);

    // Without its skin file a dialog has no picture to name: the message names the file.
    ExposedSkinDialog no_file(nullptr, folder_.path() / "Absent.ini", folder_.path());
    try {
        no_file.apply();
        FAIL() << "a missing skin file was accepted";
    } catch (const SkinError& error) {
        EXPECT_NE(std::string(error.what()).find("Absent.ini"), std::string::npos) << error.what();
    }
}

TEST_F(SkinnedDialogTest, PicturesAreReleasedOnceNoSkinnedWindowShows) {
    folder_.save("back.bmp", background_picture());
    folder_.write("Test.ini", "[SCREEN]\nMain=back.bmp\n");
    ExposedSkinDialog first(nullptr, ini(), folder_.path());
    ExposedSkinDialog second(nullptr, ini(), folder_.path());
    first.apply();
    second.apply();
    first.show();
    second.show();
    first.grab();
    const SkinPicture& back = first.skin_picture("back.bmp");
    EXPECT_EQ(&back, &second.skin_picture("back.bmp"));
    ASSERT_TRUE(back.decoded());

    first.accept();
    QCoreApplication::processEvents();
    EXPECT_EQ(first.result(), QDialog::Accepted);
    EXPECT_TRUE(back.decoded()) << "released while another skinned window shows";
    second.hide();
    QCoreApplication::processEvents();
    EXPECT_FALSE(back.decoded());

    // Shown again, it keeps its shape and paints its background decoded anew.
    const QRegion shape = second.mask();
    second.show();
    EXPECT_EQ(second.mask(), shape);
    EXPECT_EQ(second.grab().toImage().pixelColor(20, 2), QColor(30, 30, 40));
}

TEST_F(SkinnedDialogTest, DraggingTheSurfaceMovesTheWindow) {
    folder_.save("back.bmp", background_picture());
    folder_.write("Test.ini", "[SCREEN]\nMain=back.bmp\n");
    ExposedSkinDialog dialog(nullptr, ini(), folder_.path());
    dialog.apply();
    dialog.move(100, 100);
    const QPoint grab = dialog.mapToGlobal(QPoint(5, 5));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(grab), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &press);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(grab + QPoint(30, 20)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &move);
    EXPECT_EQ(dialog.pos(), QPoint(130, 120));
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(grab + QPoint(30, 20)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &release);
    QMouseEvent later(QEvent::MouseMove, QPointF(5, 5), QPointF(grab + QPoint(90, 90)),
                      Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &later);
    EXPECT_EQ(dialog.pos(), QPoint(130, 120));
}

TEST_F(SkinnedDialogTest, SwallowedEnterAndEscapeNeitherAcceptNorReject) {
    folder_.save("back.bmp", background_picture());
    folder_.write("Test.ini", "[SCREEN]\nMain=back.bmp\n");
    // Unswallowed, Escape closes a dialog: what the skinned windows are kept from.
    ExposedSkinDialog plain(nullptr, ini(), folder_.path());
    plain.apply();
    plain.show();
    QTest::keyClick(&plain, Qt::Key_Escape);
    EXPECT_FALSE(plain.isVisible());

    ButtonsOnlyDialog dialog(nullptr, ini(), folder_.path());
    dialog.apply();
    auto* ok = new QPushButton(&dialog);
    ok->setDefault(true); // Enter would press it
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    dialog.show();
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(&dialog, key);
        EXPECT_TRUE(dialog.isVisible()) << key;
    }
    QTest::keyClick(&dialog, Qt::Key_F1);
    EXPECT_EQ(dialog.passed_on, std::vector<int>{Qt::Key_F1});
}

} // namespace
} // namespace tarvenor
