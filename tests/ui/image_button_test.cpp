#include "ui/skin/image_button.h"
#include "ui/skin/placement.h"

#include "skin_test_support.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace tarvenor {
namespace {

constexpr QSize kClient(200, 120);

class ImageButtonTest : public ::testing::Test {
protected:
    ImageButtonTest() {
        for (int slot = 0; slot < 5; ++slot) {
            const std::string name = "face" + std::to_string(slot) + ".png";
            folder_.save(name, test::coordinate_picture(kClient, 40 * (slot + 1)));
            faces_[static_cast<std::size_t>(slot)] = &pictures_.picture(folder_.path() / name);
        }
        // Room for a control reaching past the pictures.
        parent_.resize(kClient.grownBy({0, 0, 50, 50}));
        parent_.setAutoFillBackground(true);
        QPalette palette = parent_.palette();
        palette.setColor(QPalette::Window, kParentColour);
        parent_.setPalette(palette);
    }

    static int tag_of(FaceSlot slot) { return 40 * (static_cast<int>(slot) + 1); }

    // What the button shows at its own pixel (x, y).
    QColor shown(const ImageButton& button, int x, int y) {
        return parent_.grab().toImage().pixelColor(button.pos() + QPoint(x, y));
    }

    void move_mouse_over(ImageButton& button) {
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), button.mapToGlobal(QPointF(3, 3)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&button, &move);
    }

    static inline const QColor kParentColour{12, 34, 56};
    test::TempFolder folder_;
    SkinPictures pictures_;
    FaceImages faces_{};
    QWidget parent_;
    const IniFile skin_ = IniFile::parse("[BUTTONINFO]\n"
                                         "CONTROL_OK=10,20,30,40\n"
                                         "FUNC_REPORT1=1,1,50,20\n"
                                         "LEFT_ARROW=60,70,12,14\n"
                                         "CONTROL_EDGE=190,100,30,40\n"
                                         "[BUTTONINFO2]\n"
                                         "UP_ARROW_LEFT1=101,51,1,1\n");
};

TEST_F(ImageButtonTest, FacesAreCutOneUpAndLeftOfThePosition) {
    ImageButton button(&parent_);
    const SkinRect rect = place_image_control(button, skin_, "BUTTONINFO", "CONTROL_OK", faces_);
    EXPECT_EQ(rect, (SkinRect{10, 20, 30, 40}));
    EXPECT_EQ(button.geometry(), QRect(10, 20, 30, 40));
    EXPECT_TRUE(button.isEnabled());
    EXPECT_EQ(shown(button, 0, 0), QColor(9, 19, tag_of(FaceSlot::Normal)));
    EXPECT_EQ(shown(button, 29, 39), QColor(38, 58, tag_of(FaceSlot::Normal)));
}

TEST_F(ImageButtonTest, FaceReachingPastThePictureIsBlackThere) {
    ImageButton button(&parent_);
    place_image_control(button, skin_, "BUTTONINFO", "CONTROL_EDGE", faces_);
    // The face is cut from (189, 99) of a 200 x 120 picture.
    EXPECT_EQ(shown(button, 10, 20), QColor(199, 119, tag_of(FaceSlot::Normal)));
    EXPECT_EQ(shown(button, 11, 5), QColor(0, 0, 0));
    EXPECT_EQ(shown(button, 5, 21), QColor(0, 0, 0));
}

TEST_F(ImageButtonTest, EachStateShowsItsOwnFace) {
    ImageButton button(&parent_);
    place_image_control(button, skin_, "BUTTONINFO", "CONTROL_OK", faces_);
    button.set_selected(true);
    EXPECT_EQ(shown(button, 0, 0).blue(), tag_of(FaceSlot::Selected));
    move_mouse_over(button);
    EXPECT_TRUE(button.hovering());
    EXPECT_EQ(shown(button, 0, 0).blue(), tag_of(FaceSlot::Hover));
    button.setDown(true);
    EXPECT_EQ(shown(button, 0, 0).blue(), tag_of(FaceSlot::Pressed));
    button.setDown(false);
    // Disabled wins even while the mouse hovers.
    button.setEnabled(false);
    EXPECT_TRUE(button.hovering());
    EXPECT_EQ(shown(button, 0, 0).blue(), tag_of(FaceSlot::Disabled));
}

TEST_F(ImageButtonTest, LeavingEndsHoverAndNewFacesClearIt) {
    ImageButton button(&parent_);
    place_image_control(button, skin_, "BUTTONINFO", "CONTROL_OK", faces_);
    move_mouse_over(button);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    EXPECT_FALSE(button.hovering());
    EXPECT_EQ(shown(button, 0, 0).blue(), tag_of(FaceSlot::Normal));

    move_mouse_over(button);
    button.setDown(true);
    button.set_face_images(faces_);
    EXPECT_FALSE(button.hovering());
    EXPECT_FALSE(button.isDown());
    EXPECT_EQ(button.origin(), QPoint(10, 20));
}

TEST_F(ImageButtonTest, UnusedPositionGivesADisabledControl) {
    ImageButton skinned(&parent_);
    place_image_control(skinned, skin_, "BUTTONINFO", "FUNC_REPORT1", faces_);
    EXPECT_EQ(skinned.geometry(), QRect(1, 1, 50, 20));
    EXPECT_FALSE(skinned.isEnabled());

    ImageButton missing(&parent_);
    place_image_control(missing, skin_, "BUTTONINFO", "CONTROL_CANCEL", faces_);
    EXPECT_EQ(missing.geometry(), QRect(1, 1, 1, 1));
    EXPECT_FALSE(missing.isEnabled());
}

TEST_F(ImageButtonTest, PlainPlacementIgnoresTheUnusedMarkAndMoveKeepsTheSize) {
    QWidget placed(&parent_);
    place_control(placed, skin_, "BUTTONINFO", "FUNC_REPORT1");
    EXPECT_EQ(placed.geometry(), QRect(1, 1, 50, 20));
    EXPECT_TRUE(placed.isEnabled());

    QWidget moved(&parent_);
    moved.resize(7, 9);
    move_control(moved, skin_, "BUTTONINFO", "CONTROL_OK");
    EXPECT_EQ(moved.geometry(), QRect(10, 20, 7, 9));
}

TEST_F(ImageButtonTest, FaceFromAnotherKeyFillsEverySlot) {
    ImageButton arrow(&parent_);
    place_with_face(arrow, skin_, "BUTTONINFO", "LEFT_ARROW", "BUTTONINFO2", "UP_ARROW_LEFT1",
                    *faces_[2]);
    EXPECT_EQ(arrow.geometry(), QRect(60, 70, 12, 14));
    for (const SkinPicture* face : arrow.faces()) {
        EXPECT_EQ(face, faces_[2]);
    }
    EXPECT_EQ(shown(arrow, 0, 0), QColor(100, 50, tag_of(FaceSlot::Pressed)));
    arrow.setEnabled(false);
    EXPECT_EQ(shown(arrow, 0, 0), QColor(100, 50, tag_of(FaceSlot::Pressed)));
}

TEST_F(ImageButtonTest, OutlineModeDrawsOnlyTheTwoPixelFrame) {
    ImageButton button(&parent_);
    place_image_control(button, skin_, "BUTTONINFO", "CONTROL_OK", faces_);
    button.set_outline(QColor(250, 0, 0), 500, true);
    EXPECT_EQ(button.outline_value(), 100);
    const QColor red(250, 0, 0);
    for (const QPoint p : {QPoint(0, 0), QPoint(1, 1), QPoint(29, 39), QPoint(28, 20),
                           QPoint(15, 0), QPoint(15, 38), QPoint(0, 20)}) {
        EXPECT_EQ(shown(button, p.x(), p.y()), red) << p.x() << "," << p.y();
    }
    // No face is copied inside the frame.
    for (const QPoint p : {QPoint(2, 2), QPoint(15, 20), QPoint(27, 37)}) {
        EXPECT_EQ(shown(button, p.x(), p.y()), kParentColour) << p.x() << "," << p.y();
    }
    button.set_outline(red, 500, false);
    EXPECT_EQ(button.outline_value(), 500);
    EXPECT_EQ(shown(button, 15, 20), QColor(24, 39, tag_of(FaceSlot::Normal)));
}

TEST_F(ImageButtonTest, ButtonWithoutFacesDrawsOnlyItsText) {
    ImageButton button(&parent_);
    button.setGeometry(10, 10, 60, 30);
    EXPECT_EQ(shown(button, 5, 5), kParentColour);
    button.setText(QStringLiteral("OK"));
    button.set_text_style(true, 12, QStringLiteral("DejaVu Sans"), QColor(255, 255, 255),
                          Qt::AlignCenter | Qt::TextSingleLine);
    const QImage picture = button.grab().toImage();
    bool text_drawn = false;
    for (int y = 0; y < picture.height() && !text_drawn; ++y) {
        for (int x = 0; x < picture.width() && !text_drawn; ++x) {
            text_drawn = picture.pixelColor(x, y).red() > 200;
        }
    }
    EXPECT_TRUE(text_drawn);
}

TEST_F(ImageButtonTest, AfterDrawCallbackTellsWhetherTheNormalFaceWasDrawn) {
    ImageButton button(&parent_);
    place_image_control(button, skin_, "BUTTONINFO", "CONTROL_OK", faces_);
    std::vector<bool> calls;
    button.set_draw_callback([&](ImageButton& drawn, bool normal) {
        EXPECT_EQ(&drawn, &button);
        calls.push_back(normal);
    });
    shown(button, 0, 0);
    button.set_selected(true);
    shown(button, 0, 0);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_TRUE(calls[0]);
    EXPECT_FALSE(calls[1]);
}

TEST_F(ImageButtonTest, RotatedCaptionIsHeavyAndCentred) {
    ImageButton button(&parent_);
    button.setGeometry(0, 0, 160, 40);
    button.setText(QStringLiteral("Profile"));
    button.set_text_style(true, 10, QStringLiteral("DejaVu Sans"), Qt::white,
                          Qt::AlignLeft | Qt::AlignBottom | Qt::TextSingleLine);
    EXPECT_EQ(button.caption_font().weight(), ImageButton::kPlainWeight);
    EXPECT_EQ(button.caption_rect(), button.rect());

    button.set_text_rotation(0, true);
    const QFont font = button.caption_font();
    EXPECT_EQ(font.weight(), ImageButton::kRotatedWeight);
    const QFontMetrics metrics(font);
    const int text_width = metrics.horizontalAdvance(QStringLiteral("Profile"));
    EXPECT_EQ(button.caption_rect().left(), (160 - text_width) / 2);
}

TEST_F(ImageButtonTest, CaptionOffsetsMoveTheTextArea) {
    ImageButton button(&parent_);
    button.setGeometry(0, 0, 100, 30);
    button.set_text_offsets(QMargins(4, 2, -6, -3));
    EXPECT_EQ(button.caption_rect(), QRect(QPoint(4, 2), QPoint(99 - 6, 29 - 3)));
}

TEST_F(ImageButtonTest, EmptyTooltipKeepsTheOldOne) {
    ImageButton button(&parent_);
    button.set_tooltip(QString(), true);
    EXPECT_TRUE(button.tooltip_text().isEmpty());
    EXPECT_FALSE(button.tooltip_active());

    button.set_tooltip(QStringLiteral("Help"), true);
    button.set_tooltip(QString(), false);
    EXPECT_EQ(button.tooltip_text(), QStringLiteral("Help"));
    EXPECT_TRUE(button.tooltip_active());

    button.set_tooltip(QStringLiteral("Close"), false);
    EXPECT_EQ(button.tooltip_text(), QStringLiteral("Close"));
    EXPECT_FALSE(button.tooltip_active());
}

} // namespace
} // namespace tarvenor
