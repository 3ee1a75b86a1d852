#include "model/key_codes.h"

#include <gtest/gtest.h>

#include <set>

namespace tarvenor {
namespace {

// Builds the keystroke flag word: scan code in bits 16..23, extended flag in bit 24.
std::uint32_t key_flags(std::uint8_t scan, bool extended) {
    return (std::uint32_t{scan} << 16) | (extended ? (1u << 24) : 0u);
}

TEST(KeyIndex, ExtendedCodesFoldIntoTheUpperHalf) {
    EXPECT_EQ(key_index_of(0x152), 0xD2);
    EXPECT_EQ(key_code_of(0xD2), 0x152);
    EXPECT_EQ(key_index_of(0x045), 0x45);
    EXPECT_EQ(key_index_of(0x145), 0xC5);
    EXPECT_EQ(key_code_of(0x80), 0x100);
    EXPECT_EQ(key_code_of(0xFF), 0x17F);
    EXPECT_EQ(key_index_of(0x180), 0x00); // wraps modulo 256
    EXPECT_EQ(key_index_of(0x17F), 0xFF);
    for (int index = 0; index < 256; ++index) {
        EXPECT_EQ(key_index_of(key_code_of(static_cast<KeyIndex>(index))), index);
    }
}

TEST(key_code_table, HoldsExactlyTheDefinedRows) {
    int defined = 0;
    for (const KeyCodeRow& row : key_code_table()) {
        defined += (row.media || row.name != nullptr) ? 1 : 0;
        if (row.name == nullptr && !row.media) {
            EXPECT_EQ(row.choice, kChoiceEmptyRow);
            EXPECT_EQ(row.usage, 0);
        }
    }
    EXPECT_EQ(defined, 155);
    const auto& numpad7 = key_code_table()[0x47];
    EXPECT_EQ(numpad7.vk, 0x67);
    EXPECT_EQ(numpad7.alternate_vk, 0x24);
    EXPECT_EQ(key_code_table()[0x1C].alternate_vk, key_code_table()[0x1C].vk);
}

TEST(key_name, NamesUnknownRowsAndCutsToCapacity) {
    const TextTable texts;
    EXPECT_EQ(key_name(0x01E, texts), "A");
    EXPECT_EQ(key_name(0x029, texts), "`");
    EXPECT_EQ(key_name(0x148, texts), "↑");
    EXPECT_EQ(key_name(0x055, texts), "Unknown Key: 055");
    EXPECT_EQ(key_name(0x05A, texts), "Unknown Key: 05a");
    EXPECT_EQ(key_name(0x00E, texts, 4), "Bac");
    EXPECT_EQ(key_name(0x00E, texts, 1), "");
    EXPECT_EQ(key_name(0x00E, texts, 0), "");
    EXPECT_EQ(key_name(0x130, texts), "Hello world"); // media rows take the loaded text
}

TEST(key_name, MediaNamesFollowTheLanguageAndUnknownKeyPatternMayBeEmpty) {
    IniFile ini = IniFile::parse("[LANGUAGE]\nlanguage=1\n[ENGINSH]\nMEDIA_V_ADD_7=Volume Up\n");
    const TextTable texts{LanguageFile(std::move(ini))};
    EXPECT_EQ(key_name(0x130, texts), "Volume Up");
    // The media row without a loaded text and an unnamed row both fall back to UNKNOWN_KEY, which
    // is itself empty here: the name is empty rather than a dangling placeholder.
    EXPECT_EQ(key_name(0x12E, texts), "");
    EXPECT_EQ(key_name(0x055, texts), "");
}

TEST(KeyChoice, DuplicateRightShiftResolvesToTheFirstRow) {
    EXPECT_EQ(key_code_at_choice(103), 0x036);
    EXPECT_EQ(choice_position_of(0x136), 103);
    EXPECT_EQ(key_code_at_choice(106), 0);
    EXPECT_EQ(key_code_at_choice(-1), 0);
    EXPECT_EQ(key_name_at_choice(106, TextTable{}), "");
    EXPECT_EQ(key_name_at_choice(48, TextTable{}), "`");
    EXPECT_EQ(choice_position_of(0x054), kChoiceNotOffered);
    EXPECT_EQ(choice_position_of(0x055), kChoiceEmptyRow);
}

TEST(KeyChoice, ListAndTableAgreeOnEveryPosition) {
    const auto& list = key_choice_list();
    for (std::size_t position = 0; position < list.size(); ++position) {
        EXPECT_EQ(choice_position_of(list[position]), position) << std::hex << list[position];
        EXPECT_EQ(key_code_at_choice(static_cast<int>(position)), list[position]);
    }
}

TEST(KeyboardKeys, EveryDrawnKeyIsANamedOfferedKeyWithAUniqueButton) {
    std::set<int> ids;
    std::set<KeyCode> codes;
    const TextTable texts;
    for (const KeyboardKey& key : keyboard_key_list()) {
        ids.insert(key.control_id);
        codes.insert(key.code);
        EXPECT_EQ(key_name(key.code, texts).rfind("Unknown", 0), std::string::npos) << key.code;
    }
    for (const int id : GButtonControlIds()) {
        ids.insert(id);
    }
    EXPECT_EQ(ids.size(), kKeyboardKeyCount + kGButtonCount);
    EXPECT_EQ(codes.size(), kKeyboardKeyCount);
    EXPECT_EQ(g_button_code(0), 0x0301);
    EXPECT_EQ(g_button_code(8), 0x0309);
    EXPECT_EQ(g_button_code(9), 0x1301);
    EXPECT_EQ(g_button_code(17), 0x1309);
    EXPECT_EQ(g_button_slot(8, 1), 273);
}

TEST(Usage, EachPageAndTheZeroConsumerEntries) {
    EXPECT_EQ(usage_of(0x122), (Usage{0x0C, 0x0CD}));
    EXPECT_EQ(usage_of(0x15E), (Usage{0x01, 0x81}));
    EXPECT_EQ(usage_of(0x064), (Usage{0, 0}));
    EXPECT_EQ(usage_of(0x174), (Usage{0x0C, 0}));
    EXPECT_EQ(usage_of(0x01E), (Usage{0x07, 0x04}));
    EXPECT_EQ(usage_of(0x15C), (Usage{0x07, 0xE7}));
    EXPECT_EQ(usage_of(0x055), (Usage{0, 0}));
}

TEST(Usage, InverseFindsTheFirstRowInIndexOrder) {
    EXPECT_EQ(key_code_from_usage(0x07, 0x04), 0x01E);
    EXPECT_EQ(key_code_from_usage(0x0C, 0x0CD), 0x122);
    EXPECT_EQ(key_code_from_usage(0x01, 0x80), 0);
    EXPECT_EQ(key_code_from_usage(0x01, 0x83), 0x163);
    EXPECT_EQ(key_code_from_usage(0x07, 0x48), 0x045); // Pause, not Break
    EXPECT_EQ(key_code_from_usage(0x07, 0xE5), 0x036); // the first Right Shift
    EXPECT_EQ(key_code_from_usage(0x0C, 0), 0x174);
    EXPECT_EQ(key_code_from_usage(0x0C, 0x999), 0);
    EXPECT_EQ(key_code_from_usage(0x07, 0), 0);
    EXPECT_EQ(key_code_from_usage(0x07, 0x104), 0); // does not alias usage 0x04
    EXPECT_EQ(key_code_from_usage(0x09, 0x04), 0);
}

TEST(Usage, EveryMediaKeyRoundTripsThroughItsConsumerUsage) {
    for (const KeyCode media : media_key_list()) {
        const Usage usage = usage_of(media);
        EXPECT_EQ(usage.page, 0x0C);
        EXPECT_EQ(key_code_from_usage(usage.page, usage.usage), media) << std::hex << media;
        EXPECT_TRUE(is_media_key(media));
    }
    EXPECT_FALSE(is_media_key(0x174));
    EXPECT_FALSE(is_media_key(0x030)); // same low byte as volume up
}

TEST(ModifierBits, LowestBitWinsAndBitsInvert) {
    EXPECT_EQ(key_code_from_modifier_bit(0x22), 0x02A);
    EXPECT_EQ(key_code_from_modifier_bit(0x80), 0x15C);
    EXPECT_EQ(key_code_from_modifier_bit(0), 0);
    for (int bit = 0; bit < 8; ++bit) {
        const auto mask = static_cast<std::uint8_t>(1u << bit);
        EXPECT_EQ(modifier_bit_of(key_code_from_modifier_bit(mask)), mask);
    }
    EXPECT_EQ(modifier_bit_of(0x136), 0); // the second Right Shift row is not the modifier key
    EXPECT_EQ(modifier_bit_of(0x01E), 0);
}

TEST(KeyMessage, ScanCodeDisambiguatesSharedVirtualKeys) {
    // Right Shift reported with the generic Shift virtual key.
    EXPECT_EQ(key_code_from_key_message(0x10, key_flags(0x36, false)), 0x036);
    // Keypad 7 with Num Lock off arrives as Home; the extended flag tells the two apart.
    EXPECT_EQ(key_code_from_key_message(0x24, key_flags(0x47, false)), 0x047);
    EXPECT_EQ(key_code_from_key_message(0x24, key_flags(0x47, true)), 0x147);
    EXPECT_EQ(key_code_from_key_message(0x67, key_flags(0x47, false)), 0x047);
    // Scan code 0: the virtual-key answer.
    EXPECT_EQ(key_code_from_key_message(0x41, 0), 0x01E);
    EXPECT_EQ(key_code_from_key_message(0xFF, key_flags(0x54, false)), 0x054);
    // Keypad Enter shares VK_RETURN with Enter.
    EXPECT_EQ(key_code_from_key_message(0x0D, key_flags(0x1C, true)), 0x11C);
    // A scan code that does not belong to the virtual key yields the virtual-key answer.
    EXPECT_EQ(key_code_from_key_message(0x41, key_flags(0x30, false)), 0x01E);
    // Generic Shift with the left scan code goes through the map.
    EXPECT_EQ(key_code_from_key_message(0x10, key_flags(0x2A, false)), 0x02A);
    // Only the low byte of the virtual key counts.
    EXPECT_EQ(key_code_from_key_message(0x141, 0), 0x01E);
}

TEST(KeySets, MakeOnlyKeys) {
    const std::set<KeyCode> make_only{0x054, 0x071, 0x072, 0x137};
    for (int code = 0; code < 0x180; ++code) {
        EXPECT_EQ(is_make_only_key(static_cast<KeyCode>(code)), make_only.count(code) == 1) << code;
    }
}

} // namespace
} // namespace tarvenor
