#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "device/device_report.h"
#include "model/key_assignment.h"

namespace tarvenor {

// The keyboard's memory as its commands address it.
inline constexpr int kProfileCount = kKeyboardProfiles;
inline constexpr int kKeyPositions = 126;
inline constexpr std::size_t kParameterBlockSize = 44;
inline constexpr std::size_t kActiveProfileByte = 10;
inline constexpr std::size_t kMacroSpaceByte = 11;
inline constexpr int kMacroSpaceUnit = 128;
inline constexpr std::size_t kFirstEffectByte = 12;
inline constexpr std::size_t kKeyMatrixSize = 3 * kKeyPositions; // 378
inline constexpr std::size_t kSettingsRecordSize = 42;

using ParameterBlock = std::array<std::uint8_t, kParameterBlockSize>;
// A profile's key matrix (ProfileBlock) or the factory one (DefaultKeyMatrix): 126 three-byte
// key codes.
using KeyMatrix = std::array<std::uint8_t, kKeyMatrixSize>;
// What single-report reads (settings, key colours) hand back: the answer's 56 data bytes.
using ReportData = std::array<std::uint8_t, kReportDataSize>;

constexpr bool valid_profile(int profile) {
    return is_profile(profile);
}

// The active profile the block names; -1 when its byte is not a profile index.
int active_profile_of(const ParameterBlock& block);
// The keyboard's macro memory in bytes.
int macro_space_of(const ParameterBlock& block);
// The lighting effect numbers the keyboard offers (bytes 12..43, zero bytes left out).
std::vector<int> effects_of(const ParameterBlock& block);

} // namespace tarvenor
