#include "ui/logic/keyboard_map.h"

#include <gtest/gtest.h>

#include <set>

namespace tarvenor {
namespace {

TEST(KeyboardMap, SkinKeysOfKeysFromTheirKeyIndex) {
    const std::pair<KeyCode, const char*> cases[] = {
        {0x01E, "KEY_01E"}, // A
        {0x152, "KEY_0D2"}, // Insert
        {0x11D, "KEY_09D"}, // right Ctrl
        {0x11C, "KEY_09C"}, // number pad Enter
        {0x145, "KEY_0C5"}, // Num Lock
        {0x045, "KEY_045"}, // Pause
    };
    for (const auto& [code, key] : cases) {
        EXPECT_EQ(key_skin_key(code), key);
    }
    EXPECT_EQ(g_skin_key(0), "FUNC_G1");
    EXPECT_EQ(g_skin_key(8), "FUNC_G9");
}

TEST(KeyboardMap, EveryKeyButtonHasItsOwnLightPositionOnTheGrid) {
    std::set<int> positions;
    for (const KeyboardKey& key : keyboard_key_list()) {
        const auto position = light_position_of(key.control_id);
        ASSERT_TRUE(position) << key.control_id;
        EXPECT_GE(*position, 0);
        EXPECT_LT(*position, 126);
        positions.insert(*position);
    }
    EXPECT_EQ(positions.size(), keyboard_key_list().size());
    EXPECT_FALSE(positions.contains(kGKeyLightPosition));
    EXPECT_FALSE(positions.contains(kFnLightPosition));
}

TEST(KeyboardMap, RowStartsAndSharedPositions) {
    EXPECT_EQ(light_position_of(1022), 0);  // Esc
    EXPECT_EQ(light_position_of(1029), 21); // back quote
    EXPECT_EQ(light_position_of(1056), 42);
    EXPECT_EQ(light_position_of(1069), 63);
    EXPECT_EQ(light_position_of(1082), 84);
    EXPECT_EQ(light_position_of(1083), 105);
    for (int id : GButtonControlIds()) {
        EXPECT_EQ(light_position_of(id), kGKeyLightPosition);
    }
    EXPECT_EQ(light_position_of(id_of(MainControl::Fn)), kFnLightPosition);
    for (int id : control::kDKeys) {
        EXPECT_FALSE(light_position_of(id));
    }
}

TEST(KeyboardMap, GButtonNumbersFollowTheIdOrder) {
    const int ids[] = {1000, 1001, 1002, 1003, 1004, 1140, 1141, 1142, 1143};
    for (int j = 0; j < 9; ++j) {
        EXPECT_EQ(g_button_of(ids[j]), j);
    }
    EXPECT_FALSE(g_button_of(1005));
    EXPECT_FALSE(g_button_of(1139));
}

} // namespace
} // namespace tarvenor
