#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace tarvenor {

// The effect that colours every key on its own.
inline constexpr int kPerKeyEffect = 20;
// The effects the program knows: 1..18 and the per-key effect.
constexpr bool known_effect(int effect) {
    return (effect >= 1 && effect <= 18) || effect == kPerKeyEffect;
}

// Effects that run in the effect colour (or a random one): selecting one also writes the
// random-colour flag.
bool uses_effect_colour(int effect);

// Where the keys light up (LightPosition 0..125): all nine G keys share one position.
inline constexpr int kGKeyLightPosition = 125;
inline constexpr int kFnLightPosition = 110;
// LightPosition of one of the 106 keys of the drawing, by its button's control id.
std::optional<int> key_light_position(int control_id);

// A colour as the windows use it: R | G << 8 | B << 16.
using ColourValue = std::uint32_t;

// One profile's 42-byte lighting record, as the keyboard keeps it in its settings area.
class LightingRecord {
public:
    static constexpr std::size_t kSize = 42;
    // What the lighting reset writes over the start of the record.
    static constexpr std::array<std::uint8_t, 35> kResetBytes{
        0x01, 0x04, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x08, 0xFF, 0xFF, 0xFF,
        0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00,
        0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00};

    std::array<std::uint8_t, kSize> bytes{};

    std::uint8_t effect() const { return bytes[0]; }
    std::uint8_t brightness() const { return bytes[1]; }
    std::uint8_t speed() const { return bytes[2]; }
    std::uint8_t direction() const { return bytes[3]; }
    bool random_colour() const { return bytes[4] != 0; }
    ColourValue effect_colour() const { return colour_at(5); }
    ColourValue base_colour() const { return colour_at(9); }
    ColourValue user_colour() const { return colour_at(12); }
    std::uint8_t report_rate() const { return bytes[15] > 3 ? 3 : bytes[15]; }
    std::uint8_t paint_tool() const { return bytes[16] > 1 ? 0 : bytes[16]; }
    std::uint8_t colour_choice() const { return bytes[17]; }

    void set_colour_at(std::size_t offset, ColourValue colour);
    void reset();

private:
    ColourValue colour_at(std::size_t offset) const {
        return bytes[offset] | (ColourValue{bytes[offset + 1]} << 8) |
               (ColourValue{bytes[offset + 2]} << 16);
    }
};

// The three profiles' lighting records, in the keyboard's order (address profile x 42).
struct LightingSettings {
    std::array<LightingRecord, 3> profiles{};
};

// Per profile the colour of each of the 126 lighting positions as R, G, B.
struct KeyColourTable {
    static constexpr std::size_t kPositions = 126;
    static constexpr std::size_t kSize = kPositions * 3;
    // Pieces the keyboard reads and writes at once.
    static constexpr std::size_t kPieceKeys = 18;

    std::array<std::uint8_t, kSize> bytes{};

    // The keyboard address of a position of a profile's table.
    static constexpr std::uint32_t device_address(int profile, std::size_t position) {
        return static_cast<std::uint32_t>(position * 3 + static_cast<std::size_t>(profile) * 512);
    }
};

} // namespace tarvenor
