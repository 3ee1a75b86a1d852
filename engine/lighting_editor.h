#pragma once

#include "engine/lighting_io.h"
#include "model/lighting.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tarvenor {

// Offsets in a profile's lighting record.
namespace lighting_offset {
inline constexpr int kEffect = 0;
inline constexpr int kBrightness = 1;
inline constexpr int kSpeed = 2;
inline constexpr int kDirection = 3;
inline constexpr int kRandom = 4;
inline constexpr int kEffectColour = 5;
inline constexpr int kBaseColour = 9;
inline constexpr int kUserColour = 12;
inline constexpr int kReportRate = 15;
inline constexpr int kPaintTool = 16;
inline constexpr int kColourChoice = 17;
} // namespace lighting_offset

// The keyboard's lighting as the program edits it: the effect list, the three profiles'
// records and colour rows, and which keys follow the base colour. Each edit changes this state
// as the keyboard will hold it and returns the write that gives the keyboard the same; the
// caller sends it. It also keeps what the keyboard is known to hold (the last read and every
// write it took since), to go back to when a write does not reach it.
class LightingEditor {
public:
    // The lit keys in order: the 106 keys of the drawing, G1..G9, Fn; each key's LightPosition.
    static const std::vector<int>& key_positions();

    LightingEditor();

    // Takes in the parts a read brought; the others stay as they were.
    void install(const LightingSnapshot& snapshot);
    // Which keys follow the base colour, from the colours read (after an arrival).
    void recompute_follows();
    // The keyboard took a write: what it is known to hold follows.
    void took(const LightingWrite& write);
    // Drops what the keyboard did not take: back to what it is known to hold.
    void back_to_known();

    const ModeList& modes() const { return modes_; }
    const LightingRecord& record(int profile) const;
    const KeyColourTable& row(int profile) const;
    bool follows_base(int profile, std::size_t key) const;
    ColourValue key_colour(int profile, std::size_t key) const;

    // One byte of the record (brightness, speed, direction, random, paint tool, colour choice,
    // report rate).
    LightingWrite set_byte(int profile, int offset, std::uint8_t value);
    // The effect; an effect that runs in a colour also writes the random flag as it is.
    LightingWrite select_effect(int profile, int effect);
    // The effect colour, which turns the random colour off in the same write.
    LightingWrite set_effect_colour(int profile, ColourValue colour);
    // A colour of the record (the user colour, or the base colour alone).
    LightingWrite set_colour(int profile, int offset, ColourValue colour);
    // The base colour and the keys that follow it, in one write with the whole colour row.
    LightingWrite set_base_and_row(int profile, ColourValue colour);
    // One key painted.
    LightingWrite paint_key(int profile, std::size_t key, ColourValue colour, bool follows);
    // A key's colour and whether it follows the base colour, without a write of its own.
    void set_key(int profile, std::size_t key, ColourValue colour, bool follows);
    // A game preset: every key black and following the base colour, then the preset's keys in
    // their colours, each step written with the base colour and the whole row. Nothing for an
    // unknown preset.
    std::vector<LightingWrite> apply_preset(int profile, int preset);
    // The lighting reset: effect 1, the factory record, a white row where the keyboard offers
    // the per-key effect, then the FPS preset.
    std::vector<LightingWrite> reset_lighting(int profile);

private:
    LightingRecord& mutable_record(int profile);
    LightingWrite reset_record(int profile);
    LightingWrite whiten_row(int profile);

    ModeList modes_{};
    LightingSettings records_;
    std::array<KeyColourTable, 3> rows_{};
    std::array<std::vector<bool>, 3> follows_;
    LightingSettings known_records_;
    std::array<KeyColourTable, 3> known_rows_{};
};

// Colour of a lighting position in a colour row.
ColourValue row_colour(const KeyColourTable& row, int position);
void set_row_colour(KeyColourTable& row, int position, ColourValue colour);

} // namespace tarvenor
