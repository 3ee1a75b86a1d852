#pragma once

#include "model/lighting.h"

#include <span>
#include <string_view>

namespace tarvenor {

// A key of a game preset and the colour it gets.
struct PresetKey {
    int control_id;
    ColourValue colour;
};

inline constexpr int kPresetCount = 4;
// "FPS", "MMO", "MOBA", "RTS".
std::string_view preset_name(int preset);
// The preset's keys in the order they are painted; empty for an unknown preset.
std::span<const PresetKey> preset_keys(int preset);

} // namespace tarvenor
