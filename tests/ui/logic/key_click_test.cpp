#include "ui/logic/key_click.h"

#include "ui/logic/keyboard_map.h"

#include <gtest/gtest.h>

namespace tarvenor {
namespace {

struct ClickCase {
    int control_id;
    int bank;
    std::uint16_t key_number;
    bool macro_only;
};

TEST(KeyClick, RequestOfKeysAndGKeysInBothBanks) {
    const ClickCase cases[] = {
        {1044, 0, 0x10, false},  // Q: its KeyIndex
        {1043, 1, 0x0E, false},  // Backspace: the bank never changes a key button
        {1000, 0, 0x100, false}, // G1, bank A: slot 0
        {1002, 1, 0x10B, false}, // G3, bank B: 0x100 + 11
        {1140, 0, 0x105, false}, // G6 is the sixth button whatever its id
        {1143, 0, 0x108, true},  // G9 is macro-only
        {1143, 1, 0x111, true},
    };
    for (const ClickCase& c : cases) {
        SCOPED_TRACE(c.control_id);
        const ClickOutcome outcome = decide_click(c.control_id, false, c.bank);
        EXPECT_EQ(outcome.action, ClickAction::Assign);
        EXPECT_EQ(outcome.request,
                  (KeyClickRequest{0, c.key_number, c.control_id, c.macro_only, c.bank}));
        EXPECT_EQ(outcome.highlighted_control, c.control_id);
    }
}

TEST(KeyClick, KeysUseTheirKeyIndexForExtendedCodes) {
    // Insert is E0 52: KeyIndex 0xD2; right Ctrl E0 1D: 0x9D.
    for (const KeyboardKey& key : keyboard_key_list()) {
        const ClickOutcome outcome = decide_click(key.control_id, false, 0);
        ASSERT_EQ(outcome.action, ClickAction::Assign) << key.control_id;
        EXPECT_EQ(outcome.request.key_number, key_index_of(key.code));
        EXPECT_LT(outcome.request.key_number, 0x100);
    }
}

TEST(KeyClick, MacroEditButtonIsExactlyG9) {
    for (int bank : {0, 1}) {
        const ClickOutcome macro = decide_click(id_of(MainControl::MacroEdit), false, bank);
        const ClickOutcome g9 = decide_click(id_of(MainControl::LastGKey), false, bank);
        EXPECT_EQ(macro.request, g9.request);
        EXPECT_TRUE(macro.request.macro_only);
        EXPECT_EQ(macro.highlighted_control, id_of(MainControl::LastGKey));
    }
}

TEST(KeyClick, LightingSwitchPaintsKeysButNeverGKeys) {
    EXPECT_EQ(decide_click(1044, true, 0).action, ClickAction::Paint);
    EXPECT_EQ(decide_click(id_of(MainControl::Fn), true, 0).action, ClickAction::Paint);
    EXPECT_EQ(decide_click(1001, true, 0).action, ClickAction::Assign);
    EXPECT_EQ(decide_click(id_of(MainControl::MacroEdit), true, 1).request.key_number, 0x111);
}

TEST(KeyClick, ControlsOutsideTheMapDoNothing) {
    for (int id : {id_of(MainControl::Fn), 1016, 1021, 1057, 0, -1, 1006, 99999}) {
        EXPECT_EQ(decide_click(id, false, 0).action, ClickAction::Nothing) << id;
    }
    // D1..D6 are not keys even while the switch is on.
    EXPECT_EQ(decide_click(1016, true, 0).action, ClickAction::Nothing);
}

TEST(KeyClick, OnlyBitZeroOfTheBankCounts) {
    EXPECT_EQ(decide_click(1000, false, 2).request.key_number, 0x100);
    EXPECT_EQ(decide_click(1000, false, 3).request.key_number, 0x109);
}

} // namespace
} // namespace tarvenor
