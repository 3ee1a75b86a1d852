#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarvenor::sim {

// The keyboard's memory areas, each kept in its own raw file.
enum class Area { Parameters, Settings, Colours, Profiles, Macros, DefaultMatrix };

inline constexpr std::size_t kParameterBytes = 44;
inline constexpr std::size_t kSettingsBytes = 256;
inline constexpr std::size_t kColourBytes = 1536;
inline constexpr std::size_t kMatrixBytes = 378;
inline constexpr std::size_t kProfileBytes = 3 * kMatrixBytes;
inline constexpr std::size_t kMacroUnitBytes = 128;
inline constexpr std::size_t kActiveProfileByte = 10;
inline constexpr std::size_t kMacroUnitsByte = 11;

const char* area_file_name(Area area);

// What a keyboard fresh from the factory holds in an area. The macro area's size follows the
// factory parameter block.
std::vector<std::uint8_t> factory_contents(Area area);

} // namespace tarvenor::sim
