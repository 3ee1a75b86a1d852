#pragma once

#include "model/byte_order.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace tarvenor {

enum class AssignmentType : std::uint16_t {
    Default = 0,
    Disabled = 1,
    Key = 2,
    LaunchProgram = 3,
    Macro = 4,
    StopMacro = 5,
    TextBlock = 6,
    Media = 7,
    Function = 8,
};

inline constexpr std::uint16_t kAssignmentTypeCount = 9;

// Whether the number is one of the types above; any other is only found in damaged files.
constexpr bool is_defined_assignment_type(std::uint16_t type) {
    return type < kAssignmentTypeCount;
}
// The type's name, or empty for a number no type has.
std::string_view assignment_type_name(std::uint16_t type);
// Types whose entry owns a text of the assignment text table.
constexpr bool has_assignment_text(std::uint16_t type) {
    return type == static_cast<std::uint16_t>(AssignmentType::LaunchProgram) ||
           type == static_cast<std::uint16_t>(AssignmentType::TextBlock);
}

// What a key does: one 16-byte entry of a key table. The type stays a raw number so that an
// unknown value read from a file is carried through unchanged.
struct KeyAssignment {
    static constexpr std::size_t kSize = 16;

    std::uint16_t type = 0;
    std::uint16_t aux_code = 0;
    std::uint32_t param = 0;
    std::uint32_t colour_key_flag = 0;
    std::uint32_t reserved = 0;

    AssignmentType kind() const { return static_cast<AssignmentType>(type); }
    bool is(AssignmentType t) const { return type == static_cast<std::uint16_t>(t); }
    bool is_zero() const { return *this == KeyAssignment{}; }

    static KeyAssignment read(std::span<const std::uint8_t> bytes);
    void write(std::span<std::uint8_t> bytes) const;

    friend bool operator==(const KeyAssignment&, const KeyAssignment&) = default;
};

inline constexpr int kKeyboardProfiles = 3;
inline constexpr int kKeyTableCount = 4;
inline constexpr int kKeyTableSlots = 512;
inline constexpr int kFlatEntryCount = kKeyTableCount * kKeyTableSlots;

constexpr int flat_entry(int table, int slot) {
    return table * kKeyTableSlots + slot;
}
constexpr bool is_profile(int profile) {
    return profile >= 0 && profile < kKeyboardProfiles;
}

// The assignments of one profile, by slot: key indices 0..255, G keys 256..273.
struct KeyTable {
    static constexpr std::size_t kSize = kKeyTableSlots * KeyAssignment::kSize;

    std::array<KeyAssignment, kKeyTableSlots> entries{};

    // All zero except the G-key slots, which carry their fixed codes.
    static KeyTable with_g_key_codes();

    friend bool operator==(const KeyTable&, const KeyTable&) = default;
};

} // namespace tarvenor
