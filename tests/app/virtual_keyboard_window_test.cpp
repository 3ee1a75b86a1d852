#include "virtual_keyboard_window.h"

namespace tarvenor::testing {
namespace {

TEST_F(VirtualKeyboardWindow, ArrivalOpensTheWindowWithTheKeyboardsState) {
    start(false);
    ASSERT_TRUE(wait_for([this] { return window->isVisible(); }));
    EXPECT_EQ(window->connected_count(), 1);
    EXPECT_EQ(window->tray_icon(), 141);
    ASSERT_TRUE(wait_for([this] { return window->current_profile() == 0; }));
    EXPECT_TRUE(window->button(1135)->selected());
    // The mirror was rebuilt from the keyboard.
    EXPECT_TRUE(std::filesystem::exists(storage.mirror_path()));
}

TEST_F(VirtualKeyboardWindow, QuietStartStaysHiddenAndUnplugHides) {
    start(true);
    ASSERT_TRUE(wait_for([this] { return window->current_profile() == 0; }));
    EXPECT_FALSE(window->isVisible());
    window->open_window(); // tray "Open"
    EXPECT_TRUE(window->isVisible());
    simctl({"unplug"});
    ASSERT_TRUE(wait_for([this] { return window->connected_count() == 0; }));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->tray_icon(), 128);
    EXPECT_EQ(window->current_profile(), -1);
    window->open_window();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(VirtualKeyboardWindow, BankSwitchAndIndicatorFromTheKeyboard) {
    start(true);
    ASSERT_TRUE(wait_for([this] { return window->connected_count() == 1; }));
    simctl({"consumer", "0x02ff"});
    ASSERT_TRUE(wait_for([this] { return window->bank() == 1; }));
    EXPECT_EQ(window->button(1000)->text(), "B1");
    simctl({"consumer", "0x1811"});
    ASSERT_TRUE(wait_for([this] { return window->tray_icon() == 142; }));
    simctl({"consumer", "0x1810"});
    ASSERT_TRUE(wait_for([this] { return window->tray_icon() == 141; }));
}

} // namespace
} // namespace tarvenor::testing
