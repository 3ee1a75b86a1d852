#include "ui/main/lighting_controls.h"
#include "ui/skin/colour_button.h"
#include "ui/skin/colour_palette.h"
#include "ui/skin/image_button.h"
#include "ui/skin/keyboard_focus.h"

#include "input_events.h"
#include "skin_test_support.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace tarvenor {
namespace {

using testing::turn_wheel;

std::vector<int> reported(const QSignalSpy& spy) {
    std::vector<int> positions;
    for (const QList<QVariant>& call : spy) {
        positions.push_back(call.at(0).toInt());
    }
    return positions;
}

class SliderTest : public ::testing::Test {
protected:
    SliderTest() : slider(nullptr), spy(&slider, &BitmapSlider::position_changed) {
        slider.resize(100, 20);
    }
    BitmapSlider slider;
    QSignalSpy spy;
};

TEST_F(SliderTest, EachWheelNotchMovesOneStepAndStopsAtTheEnds) {
    slider.set_position(2);
    turn_wheel(slider, 120);
    turn_wheel(slider, 120);
    turn_wheel(slider, 120); // beyond the right end: nothing to report
    EXPECT_EQ(reported(spy), (std::vector<int>{3, 4}));
    EXPECT_EQ(slider.position(), 4);
    spy.clear();
    turn_wheel(slider, -360); // three notches at once
    turn_wheel(slider, -240);
    turn_wheel(slider, -120);
    EXPECT_EQ(reported(spy), (std::vector<int>{1, 0})) << "one report per change of position";
}

TEST_F(SliderTest, SmallWheelTurnsAddUpToANotch) {
    slider.set_position(2);
    turn_wheel(slider, 40);
    turn_wheel(slider, 40);
    EXPECT_TRUE(spy.isEmpty());
    turn_wheel(slider, 40);
    EXPECT_EQ(reported(spy), (std::vector<int>{3}));
    turn_wheel(slider, -60); // half a notch back, then half again: one step down
    turn_wheel(slider, -60);
    EXPECT_EQ(reported(spy), (std::vector<int>{3, 2}));
}

TEST_F(SliderTest, ArrowKeysHomeAndEndMoveTheKnob) {
    slider.set_position(0);
    QTest::keyClick(&slider, Qt::Key_Left); // already at the left end
    QTest::keyClick(&slider, Qt::Key_Down);
    EXPECT_TRUE(spy.isEmpty());
    QTest::keyClick(&slider, Qt::Key_Right);
    QTest::keyClick(&slider, Qt::Key_Up);
    QTest::keyClick(&slider, Qt::Key_End);
    QTest::keyClick(&slider, Qt::Key_End);
    QTest::keyClick(&slider, Qt::Key_Down);
    QTest::keyClick(&slider, Qt::Key_Home);
    EXPECT_EQ(reported(spy), (std::vector<int>{1, 2, 4, 3, 0}));
}

// A picture button and a colour button are pressed from the keyboard with Space and Enter.
TEST(KeyboardPress, SpaceAndEnterPressAPictureButton) {
    PictureButton button(nullptr);
    int clicks = 0;
    QObject::connect(&button, &QAbstractButton::clicked, [&clicks] { ++clicks; });
    QTest::keyClick(&button, Qt::Key_Space);
    QTest::keyClick(&button, Qt::Key_Return);
    QTest::keyClick(&button, Qt::Key_Enter);
    EXPECT_EQ(clicks, 3);
    QTest::keyClick(&button, Qt::Key_A);
    EXPECT_EQ(clicks, 3) << "other keys press nothing";
}

TEST(KeyboardPress, SpaceAndEnterOpenTheColourPalette) {
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
        ColourButton button;
        QTest::keyClick(&button, key);
        auto* popup = button.findChild<ColourPalettePopup*>();
        ASSERT_NE(popup, nullptr) << key;
        EXPECT_TRUE(popup->isVisible()) << key;
        popup->close();
    }
}

// Pixels of the focus frame's colour in a picture of `widget`.
int focus_pixels(QWidget& widget) {
    const QImage picture = widget.grab().toImage();
    int count = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            count += picture.pixelColor(x, y).rgb() == kFocusFrameColour.rgb() ? 1 : 0;
        }
    }
    return count;
}

// Tab shows where the focus is on each kind of control. Opening the window shows no frame, and
// a click on a button does not take the focus (nor its frame) from where Tab left it.
TEST(FocusFrame, ShownWhereTabPutsTheFocus) {
    test::TempFolder folder;
    QImage black(60, 30, QImage::Format_RGB32);
    black.fill(Qt::black);
    folder.save("black.png", black);
    SkinPictures pictures;
    const SkinPicture& picture = pictures.picture(folder.path() / "black.png");
    QWidget window;
    window.resize(300, 100);
    auto* first = new PictureButton(&window);
    first->setGeometry(0, 0, 40, 30);
    first->set_picture(picture);
    auto* slider = new BitmapSlider(&window);
    slider->setGeometry(50, 0, 60, 20);
    slider->set_picture(picture);
    auto* colour = new ColourButton(&window);
    colour->setGeometry(120, 0, 60, 20);
    auto* image = new ImageButton(&window);
    image->setGeometry(190, 0, 60, 30);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    first->setFocus(Qt::ActiveWindowFocusReason);
    EXPECT_FALSE(shows_focus_frame(*first)) << "no frame before the keyboard moved the focus";
    for (QWidget* widget : std::vector<QWidget*>{slider, colour, image}) {
        const int before = focus_pixels(*widget);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), widget) << widget->metaObject()->className();
        EXPECT_TRUE(shows_focus_frame(*widget));
        EXPECT_GT(focus_pixels(*widget), before + 20) << widget->metaObject()->className();
    }
    QTest::mouseClick(first, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), image);
}

TEST(DisabledLook, ACaptionFadesWhileItsButtonIsDisabled) {
    ImageButton button;
    button.set_text_style(true, 9, QStringLiteral("Tahoma"), QColor(228, 228, 228),
                          Qt::AlignCenter);
    EXPECT_EQ(button.caption_colour(), QColor(228, 228, 228));
    button.setEnabled(false);
    const QColor faded = button.caption_colour();
    EXPECT_EQ(faded.rgb(), QColor(228, 228, 228).rgb());
    EXPECT_LE(faded.alpha(), 128) << "at most half as strong as the enabled caption";
}

} // namespace
} // namespace tarvenor
