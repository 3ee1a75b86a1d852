#include "virtual_keyboard_window.h"

#include "ui/logic/keyboard_map.h"
#include "ui/main/about_dialog.h"
#include "ui/main/lighting_panel.h"
#include "ui/main/no_keyboard_look.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>

namespace tarvenor::testing {
namespace {

// A desktop without a notification area: the window shows at start whatever the keyboard.
class NoTrayWindow : public WindowTest {
protected:
    NoTrayWindow() { tray = false; }
};

TEST_F(NoTrayWindow, WithoutAKeyboardTheKeysAreGreyedAtOnceAndTheLineSaysWhatToDo) {
    window->mark_changed();
    window->show();
    ASSERT_TRUE(window->no_keyboard_look().shown());
    const QLabel& line = window->no_keyboard_look().line();
    EXPECT_TRUE(line.isVisible());
    EXPECT_TRUE(line.text().contains(
        QString::fromStdString(texts.text(TextKey::MainNoDevicePrompt)).trimmed()));
    EXPECT_TRUE(
        line.text().contains(QString::fromLatin1(MainWindow::kNoKeyboardHintText.built_in)));
    EXPECT_TRUE(window->rect().contains(line.geometry()));

    QTest::mouseClick(window->button(kKeyA), Qt::LeftButton);
    EXPECT_TRUE(requests.empty()) << "a greyed key opens nothing";
    for (const int id : {kKeyA, 1000, id_of(MainControl::Profile1), id_of(MainControl::ReportRate1),
                         id_of(MainControl::Default), id_of(MainControl::FlipLeft)}) {
        EXPECT_FALSE(window->button(id)->isEnabled()) << id;
    }
    EXPECT_FALSE(window->lighting().effect_box()->isEnabled());
    EXPECT_NE(window->button(kKeyA)->graphicsEffect(), nullptr) << "faded, not only disabled";
    EXPECT_EQ(window->button(MainControl::Close)->graphicsEffect(), nullptr);
    // The window's own buttons stay live, and Apply keeps saying that changes wait.
    for (const MainControl live :
         {MainControl::Close, MainControl::Help, MainControl::Minimise, MainControl::Menu,
          MainControl::Ok, MainControl::Cancel, MainControl::Apply}) {
        EXPECT_TRUE(window->button(live)->isEnabled()) << id_of(live);
    }
    EXPECT_TRUE(window->has_unapplied_changes());

    window->set_connected_count(1);
    EXPECT_FALSE(window->no_keyboard_look().shown());
    EXPECT_FALSE(line.isVisible());
    EXPECT_TRUE(window->button(kKeyA)->isEnabled());
    EXPECT_TRUE(window->lighting().effect_box()->isEnabled());
    EXPECT_EQ(window->button(kKeyA)->graphicsEffect(), nullptr);
    // What was disabled for its own reasons stays so: D1 (Flip off), the lock indicators.
    EXPECT_FALSE(window->button(MainControl::D1)->isEnabled());
    EXPECT_FALSE(window->button(MainControl::CapsLock)->isEnabled());
    EXPECT_TRUE(window->has_unapplied_changes());
    QTest::mouseClick(window->button(kKeyA), Qt::LeftButton);
    EXPECT_EQ(requests.size(), 1u);
}

TEST_F(NoTrayWindow, AnArrivalBeingReadIsNotShownAsNoKeyboard) {
    window->show();
    window->arrival_started();
    EXPECT_FALSE(window->no_keyboard_look().shown());
    window->arrival_busy(QStringLiteral("another program"));
    EXPECT_TRUE(window->no_keyboard_look().shown()) << "still no keyboard counted";
}

TEST_F(WindowTest, AHiddenWindowKeepsItsControlsLive) {
    window->show();
    window->hide();
    EXPECT_FALSE(window->no_keyboard_look().shown());
    EXPECT_TRUE(window->button(kKeyA)->isEnabled());
}

// When the keyboard goes, the focus passes over the effect list to the first report-rate button,
// so that no key keeps it.
class KeyboardGoneFocus : public VirtualKeyboardWindow {
protected:
    void arrive() {
        start(false);
        ASSERT_TRUE(wait_for([this] { return window->current_profile() == 0; }));
        ASSERT_TRUE(window->isVisible());
        window->activateWindow();
        window->button(kKeyA)->setFocus();
        ASSERT_EQ(window->focusWidget(), window->button(kKeyA));
    }
    void unplug() {
        simctl({"unplug"});
        ASSERT_TRUE(wait_for([this] { return window->connected_count() == 0; }));
        QCoreApplication::processEvents();
    }
    QWidget* first_rate() const { return window->button(MainControl::ReportRate1); }
};

TEST_F(KeyboardGoneFocus, EndsOnTheFirstReportRateButtonWithTheAboutBoxClosed) {
    arrive();
    window->show_about();
    unplug();
    EXPECT_FALSE(window->about_open());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->focusWidget(), first_rate());
    // Opened again with the keyboard back, the window has it there still.
    simctl({"plug"});
    ASSERT_TRUE(wait_for([this] { return window->current_profile() == 0; }));
    window->open_window();
    EXPECT_EQ(window->focusWidget(), first_rate());
}

class NoTrayKeyboardGoneFocus : public KeyboardGoneFocus {
protected:
    NoTrayKeyboardGoneFocus() { tray = false; }
};

TEST_F(NoTrayKeyboardGoneFocus, NoGreyedControlHoldsItAndTheReportRateGetsItBack) {
    arrive();
    unplug();
    EXPECT_TRUE(window->isVisible()) << "minimised, not hidden";
    ASSERT_TRUE(window->no_keyboard_look().shown());
    ASSERT_NE(window->focusWidget(), nullptr);
    EXPECT_TRUE(window->focusWidget()->isEnabled());
    EXPECT_FALSE(window->focusWidget()->property("control_id").isValid())
        << "on control " << window->focusWidget()->property("control_id").toInt();
    // The profile shown stays what it was: only the state read anew tells of the arrival.
    QSignalSpy installed(window.get(), &MainWindow::keyboard_state_installed);
    simctl({"plug"});
    ASSERT_TRUE(wait_for([&installed] { return !installed.isEmpty(); }));
    EXPECT_FALSE(window->no_keyboard_look().shown());
    EXPECT_EQ(window->focusWidget(), first_rate());
}

} // namespace
} // namespace tarvenor::testing
