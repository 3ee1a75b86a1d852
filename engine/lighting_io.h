#pragma once

#include "device/commands.h"
#include "model/lighting.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tarvenor {

// One write inside a lighting change: bytes of the profile's lighting record at an offset, or
// key colours from a lighting position on.
struct LightingStep {
    enum class Area { Record, KeyColours };
    Area area = Area::Record;
    int start = 0; // record offset, or lighting position
    std::vector<std::uint8_t> bytes;
};

// One change as the keyboard receives it: BeginTransfer, the steps in order, EndTransfer.
struct LightingWrite {
    int profile = 0;
    std::vector<LightingStep> steps;

    void record(int offset, std::vector<std::uint8_t> bytes);
    void colour(int offset, ColourValue colour);
    void key_colour(int position, ColourValue colour);
    // The whole colour row of the profile in 18-key pieces.
    void row(const KeyColourTable& row);
};

std::vector<std::uint8_t> colour_bytes(ColourValue colour);

// What the keyboard holds once it took a write: the write's bytes laid into the records and rows.
void apply_write(const LightingWrite& write, LightingSettings& records,
                 std::array<KeyColourTable, 3>& rows);

// Runs a change on the device worker. Success only when every command of it succeeded; after a
// failing step the rest of the steps is left out, and the transfer is still ended.
DeviceStatus run_lighting_write(CommandSet& commands, const LightingWrite& write);

inline constexpr std::size_t kModeListSize = 32;
using ModeList = std::array<std::uint8_t, kModeListSize>;
bool offers_effect(const ModeList& modes, int effect);

// What one lighting read brought from the keyboard. A part that could not be read is marked so
// that the panel keeps what it had.
struct LightingSnapshot {
    bool parameters_read = false;
    ModeList modes{};
    std::array<bool, 3> record_read{};
    LightingSettings records;
    std::array<bool, 3> row_read{};
    std::array<KeyColourTable, 3> rows{};
};

// The lighting read, on the device worker: the effect list, the colour rows (only when the
// keyboard offers the per-key effect; all three or only `panel_profile`'s) and the three records.
LightingSnapshot read_lighting(CommandSet& commands, int panel_profile, bool all_profiles);

} // namespace tarvenor
