#pragma once

#include "model/key_assignment.h"
#include "model/key_codes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace tarvenor {

// The keyboard's three-byte key code: kind, then two bytes whose meaning depends on it.
struct DeviceKeyCode {
    static constexpr std::size_t kSize = 3;

    std::uint8_t kind = 0;
    std::uint8_t b1 = 0;
    std::uint8_t b2 = 0;

    std::uint16_t b12() const { return static_cast<std::uint16_t>(b1 | (b2 << 8)); }

    friend bool operator==(const DeviceKeyCode&, const DeviceKeyCode&) = default;
};

// 126 device key codes: a profile's key codes, or the factory codes that say which physical key
// each position is.
class KeyCodeBlock {
public:
    static constexpr std::size_t kPositions = 126;
    static constexpr std::size_t kSize = kPositions * DeviceKeyCode::kSize;

    KeyCodeBlock() = default;
    // Reads kSize bytes; the caller passes at least that many.
    explicit KeyCodeBlock(std::span<const std::uint8_t> bytes);

    DeviceKeyCode at(std::size_t position) const { return codes_[position]; }
    void set(std::size_t position, DeviceKeyCode code) { codes_[position] = code; }
    std::array<std::uint8_t, kSize> bytes() const;

    friend bool operator==(const KeyCodeBlock&, const KeyCodeBlock&) = default;

private:
    std::array<DeviceKeyCode, kPositions> codes_{};
};

using ProfileBlock = KeyCodeBlock;
using DefaultKeyMatrix = KeyCodeBlock;

KeyCode key_code_from_device_key_code(DeviceKeyCode code);

// The code of a key that sends (or an action that plays) a KeyCode: modifier keys by their bit,
// other keyboard-page keys by usage, consumer and generic-desktop keys by their usage.
DeviceKeyCode device_code_for_key(KeyCode key);

// The code a key with that assignment sends, given the key's factory code; macro_position turns
// a macro id into the macro's position in the keyboard's macro block.
DeviceKeyCode device_code_for_assignment(const KeyAssignment& assignment, DeviceKeyCode factory,
                                         const std::function<int(std::uint32_t)>& macro_position);

// Translates one profile's key table into the keyboard's key codes.
ProfileBlock build_profile_block(const KeyTable& table, const DefaultKeyMatrix& matrix,
                                 const std::function<int(std::uint32_t)>& macro_position);

// The key table a profile block stands for; positions still holding their factory code keep
// Default.
KeyTable decode_profile_block(const ProfileBlock& block, const DefaultKeyMatrix& matrix);

} // namespace tarvenor
