#include "model/native_keys.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace tarvenor {
namespace {

// Every key the program names: both key lists, the media keys, and the keys the dialog must tell
// apart (Win, App, Print Screen, Pause).
std::set<KeyCode> keys_that_must_map() {
    std::set<KeyCode> keys(key_choice_list().begin(), key_choice_list().end());
    for (const KeyboardKey& key : keyboard_key_list()) {
        keys.insert(key.code);
    }
    keys.insert(media_key_list().begin(), media_key_list().end());
    keys.insert({0x15B, 0x15C, 0x15D, 0x137, 0x045, 0x145});
    return keys;
}

std::optional<KeyCode> evdev_to_code(int evdev) {
    const std::optional<NativeKey> native = native_key_from_evdev(evdev);
    return native ? std::optional(key_code_from_native(*native)) : std::nullopt;
}

TEST(NativeKeys, EveryKeyHasAnEvdevCodeThatComesBackAsItself) {
    std::set<KeyCode> reached;
    for (int evdev = 0; evdev < 768; ++evdev) {
        if (const auto code = evdev_to_code(evdev)) {
            reached.insert(*code);
        }
    }
    for (const KeyCode code : keys_that_must_map()) {
        EXPECT_TRUE(reached.count(code)) << std::hex << code;
    }
}

TEST(NativeKeys, EvdevCodesNameTheRightKeys) {
    const std::vector<std::pair<int, KeyCode>> known{
        {1, 0x001},   {2, 0x002},   {30, 0x01E},  {29, 0x01D},  {42, 0x02A},  {54, 0x036},
        {55, 0x037},  {69, 0x145},  {70, 0x046},  {71, 0x047},  {83, 0x053},  {86, 0x056},
        {87, 0x057},  {88, 0x058},  {96, 0x11C},  {97, 0x11D},  {98, 0x135},  {99, 0x137},
        {100, 0x138}, {102, 0x147}, {103, 0x148}, {110, 0x152}, {111, 0x153}, {113, 0x120},
        {114, 0x12E}, {115, 0x130}, {119, 0x045}, {125, 0x15B}, {126, 0x15C}, {127, 0x15D},
        {163, 0x119}, {164, 0x122}, {165, 0x110}, {166, 0x124}, {172, 0x132}, {140, 0x121},
        {155, 0x16C}, {158, 0x16A}, {159, 0x169}, {217, 0x165}};
    for (const auto& [evdev, code] : known) {
        EXPECT_EQ(evdev_to_code(evdev), code) << evdev;
    }
    EXPECT_EQ(native_key_from_xkb_keycode(38), native_key_from_evdev(30));
    // Ctrl+Pause is Break; Ctrl changes no other key.
    EXPECT_EQ(key_code_from_native(*native_key_from_evdev(119, true)), 0x146);
    EXPECT_EQ(key_code_from_native(*native_key_from_xkb_keycode(127, true)), 0x146);
    EXPECT_EQ(key_code_from_native(*native_key_from_evdev(30, true)), 0x01E);
}

TEST(NativeKeys, EvdevCodesWithoutAKeyGiveNothing) {
    for (const int evdev : {-1, 0, 84, 85, 240, 767, 100000}) {
        EXPECT_FALSE(native_key_from_evdev(evdev)) << evdev;
    }
}

TEST(NativeKeys, EveryKeyComesBackFromItsWindowsMessage) {
    for (const KeyCode code : keys_that_must_map()) {
        const KeyCodeRow& row = key_code_table()[key_index_of(code)];
        const auto native = native_key_from_windows(row.vk, code & 0xFF, code >= 0x100);
        ASSERT_TRUE(native) << std::hex << code;
        EXPECT_EQ(key_code_from_native(*native), code) << std::hex << code;
    }
}

TEST(NativeKeys, WindowsMessagesAreNormalised) {
    struct Case {
        std::uint32_t vk, scan;
        bool extended;
        KeyCode code;
    };
    const Case cases[] = {
        {0x10, 0x36, false, 0x036},  // generic Shift, right-hand key
        {0x11, 0x1D, true, 0x11D},   // generic Ctrl, right-hand key
        {0x24, 0x47, false, 0x047},  // keypad 7 with Num Lock off
        {0x24, 0x47, true, 0x147},   // Home
        {0x90, 0x45, true, 0x145},   // Num Lock
        {0x13, 0x45, false, 0x045},  // Pause
        {0x41, 0x00, false, 0x01E},  // injected without a scan code
        {0x2D, 0x00, false, 0x152},  // injected Insert
        {0x5B, 0x00, false, 0x15B},  // injected Win
        {0x141, 0x1E, false, 0x01E}, // high bits of the virtual key are not part of it
    };
    for (const Case& c : cases) {
        const auto native = native_key_from_windows(c.vk, c.scan, c.extended);
        ASSERT_TRUE(native) << std::hex << c.vk;
        EXPECT_EQ(key_code_from_native(*native), c.code) << std::hex << c.vk;
    }
    // The shift the system wraps around extended navigation keys is no keystroke.
    EXPECT_FALSE(native_key_from_windows(0x10, 0x2A, true));
    EXPECT_FALSE(native_key_from_windows(0x10, 0x36, true));
    EXPECT_FALSE(native_key_from_windows(0x00, 0x00, false));
    EXPECT_FALSE(native_key_from_windows(0x07, 0x00, false));
}

} // namespace
} // namespace tarvenor
