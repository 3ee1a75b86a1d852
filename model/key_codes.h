#pragma once

#include "model/text_table.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace tarvenor {

// A key as the scan code set 1 make code, plus 0x100 for E0-prefixed keys; 0 = no key.
using KeyCode = std::uint16_t;
// The row of a key in the key code table and its slot in a key table.
using KeyIndex = std::uint8_t;

inline constexpr std::size_t kKeyCodeRows = 256;
inline constexpr std::size_t kKeyChoiceCount = 106;
inline constexpr std::size_t kKeyboardKeyCount = 106;
inline constexpr std::size_t kGButtonCount = 9;
inline constexpr std::size_t kMediaKeyCount = 18;
inline constexpr std::size_t kFunctionCount = 11;
inline constexpr std::size_t kConsumerUsageCount = 32;

// Choice positions of rows that are not in the key pick-list.
inline constexpr std::uint16_t kChoiceNotOffered = 0xFFFE;
inline constexpr std::uint16_t kChoiceEmptyRow = 0xFFFF;

// A row of the key code table. The name is UTF-8; media rows take theirs from the text table.
struct KeyCodeRow {
    const char* name = nullptr;
    bool media = false;
    TextKey media_text = TextKey::Media1;
    std::uint16_t choice = kChoiceEmptyRow;
    std::uint8_t vk = 0;
    std::uint8_t alternate_vk = 0;
    // 0x01..0xE7 keyboard page usage, 0x81..0x83 generic desktop usage, 0xC0..0xDF consumer
    // usage table entry, 0 none.
    std::uint8_t usage = 0;
};

struct Usage {
    std::uint8_t page = 0;
    std::uint16_t usage = 0;
    friend bool operator==(const Usage&, const Usage&) = default;
};

struct KeyboardKey {
    int control_id;
    KeyCode code;
};

constexpr KeyIndex key_index_of(KeyCode code) {
    return code < 0x100 ? static_cast<KeyIndex>(code) : static_cast<KeyIndex>((code & 0xFF) + 0x80);
}

constexpr KeyCode key_code_of(KeyIndex index) {
    return index < 0x80 ? KeyCode{index} : static_cast<KeyCode>(index + 0x80);
}

const std::array<KeyCodeRow, kKeyCodeRows>& key_code_table();
const std::array<std::uint16_t, kConsumerUsageCount>& consumer_usage_table();
// The keys offered in every key pick-list, by choice position.
const std::array<KeyCode, kKeyChoiceCount>& key_choice_list();
// Virtual-key code to the index of the key that normally produces it (0 = no key).
const std::array<KeyIndex, 256>& virtual_key_map();
// The keys drawn on the main window, by position, with their button's control id.
const std::array<KeyboardKey, kKeyboardKeyCount>& keyboard_key_list();
const std::array<int, kGButtonCount>& GButtonControlIds();
// The multimedia keys a Media assignment indexes.
const std::array<KeyCode, kMediaKeyCount>& media_key_list();
// The language keys of the editing functions a Function assignment indexes.
const std::array<TextKey, kFunctionCount>& function_list();

// Key table slots of the G buttons: bank 0 from 256, bank 1 from 265.
inline constexpr int kGSlotBase = 256;
inline constexpr int kGSlotCount = 18;
constexpr int g_button_slot(int button, int bank) {
    return kGSlotBase + bank * 9 + button;
}
// The fixed code a G button's slot carries (slot 256 + k, k = 0..17).
constexpr std::uint16_t g_button_code(int k) {
    return static_cast<std::uint16_t>(k < 9 ? 0x0301 + k : 0x1301 + (k - 9));
}

// The key's name, cut to capacity - 1 UTF-16 units; unnamed rows are described by UNKNOWN_KEY.
std::string key_name(KeyCode code, const TextTable& texts, std::size_t capacity = 260);
std::uint16_t choice_position_of(KeyCode code);
KeyCode key_code_at_choice(int position);
std::string key_name_at_choice(int position, const TextTable& texts);
Usage usage_of(KeyCode code);
KeyCode key_code_from_usage(std::uint8_t page, std::uint16_t usage);
KeyCode key_code_from_modifier_bit(std::uint8_t bits);
// The modifier bit of a modifier key, 0 for every other key.
std::uint8_t modifier_bit_of(KeyCode code);
// vk: virtual-key code; flags: bits 16..23 the scan code, bit 24 the extended flag.
KeyCode key_code_from_key_message(std::uint32_t vk, std::uint32_t flags);
bool is_make_only_key(KeyCode code);
bool is_media_key(KeyCode code);

} // namespace tarvenor
