#include "ui/logic/window_rules.h"

#include "ui/logic/control_ids.h"
#include "ui/logic/refresh_coalescer.h"

#include <gtest/gtest.h>

namespace tarvenor {
namespace {

TEST(WindowRules, OpenOnlyWithAKeyboard) {
    EXPECT_EQ(decide_open(0), OpenDecision::NoDeviceMessage);
    EXPECT_EQ(decide_open(-1), OpenDecision::NoDeviceMessage);
    EXPECT_EQ(decide_open(1), OpenDecision::Show);
    EXPECT_EQ(decide_open(2), OpenDecision::Show);
}

TEST(WindowRules, AKeyboardThisUserMayNotOpenIsNamedNotMissing) {
    EXPECT_EQ(decide_open(0, true), OpenDecision::NoAccessMessage);
    EXPECT_EQ(decide_open(0, false), OpenDecision::NoDeviceMessage);
    EXPECT_EQ(decide_open(1, true), OpenDecision::Show); // another keyboard works
    EXPECT_EQ(tray_tooltip(0, true), TextKey::KeyboardTrayNoAccess);
    EXPECT_EQ(tray_tooltip(0, false), TextKey::KeyboardTrayDesc);
    EXPECT_EQ(tray_tooltip(1, true), TextKey::KeyboardTrayDesc);
}

TEST(WindowRules, WithoutATrayTheWindowStaysReachable) {
    EXPECT_EQ(hide_action(true), HideAction::Hide);
    EXPECT_EQ(hide_action(false), HideAction::Minimise);
    EXPECT_FALSE(show_at_start(true));
    EXPECT_TRUE(show_at_start(false));
}

TEST(WindowRules, NoKeyboardLookOnlyOnScreenAndNotWhileAnArrivalIsRead) {
    EXPECT_TRUE(shows_no_keyboard(true, 0, false));
    EXPECT_FALSE(shows_no_keyboard(false, 0, false));
    EXPECT_FALSE(shows_no_keyboard(true, 0, true));
    EXPECT_FALSE(shows_no_keyboard(true, 1, false));
    EXPECT_FALSE(shows_no_keyboard(true, 2, false));
}

TEST(WindowRules, WithoutAKeyboardOnlyTheWindowsOwnButtonsStayLive) {
    for (const MainControl live :
         {MainControl::Ok, MainControl::Cancel, MainControl::Apply, MainControl::SkinLink,
          MainControl::Help, MainControl::Minimise, MainControl::Close, MainControl::Menu,
          MainControl::VendorLink}) {
        EXPECT_TRUE(works_without_keyboard(id_of(live))) << id_of(live);
    }
    for (const MainControl greyed :
         {MainControl::Profiles, MainControl::MacroEdit, MainControl::F1, MainControl::D1,
          MainControl::FlipLeft, MainControl::Profile1, MainControl::Default,
          MainControl::ReportRate1, MainControl::Fn, MainControl::LastGKey}) {
        EXPECT_FALSE(works_without_keyboard(id_of(greyed))) << id_of(greyed);
    }
    EXPECT_FALSE(works_without_keyboard(0)) << "a control without an id";
}

TEST(TrayIcon, IndicatorShowsOverTheRememberedConnectionIcon) {
    TrayIconState icon;
    EXPECT_EQ(icon.shown(), kIconNoKeyboard);
    EXPECT_TRUE(icon.set_connected(true));
    EXPECT_EQ(icon.shown(), kIconConnected);
    EXPECT_FALSE(icon.set_connected(true));
    EXPECT_TRUE(icon.set_indicator(true));
    EXPECT_EQ(icon.shown(), kIconIndicator);
    // The keyboard goes while the indicator is on: the indicator stays shown until it is off.
    EXPECT_FALSE(icon.set_connected(false));
    EXPECT_EQ(icon.shown(), kIconIndicator);
    EXPECT_TRUE(icon.set_indicator(false));
    EXPECT_EQ(icon.shown(), kIconNoKeyboard);
    EXPECT_FALSE(icon.set_indicator(false));
}

TEST(RefreshCoalescer, RequestsBeforeTheReReadGiveOne) {
    RefreshCoalescer refresh;
    EXPECT_TRUE(refresh.request());
    EXPECT_FALSE(refresh.request());
    EXPECT_FALSE(refresh.request());
    refresh.begin();
    EXPECT_FALSE(refresh.pending());
    // A request while the re-read runs schedules exactly one more.
    EXPECT_TRUE(refresh.request());
    EXPECT_FALSE(refresh.request());
}

} // namespace
} // namespace tarvenor
