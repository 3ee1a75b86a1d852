#pragma once

#include "model/key_codes.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tarvenor {

struct MacroAction {
    static constexpr std::size_t kSize = 8;
    static constexpr std::uint32_t kMaxDelay = 40000;
    static constexpr std::uint16_t kDown = 0;
    static constexpr std::uint16_t kUp = 1;

    std::uint32_t delay = 0; // milliseconds after this action
    KeyCode key = 0;
    std::uint16_t direction = kDown;

    bool is_up() const { return direction == kUp; }

    friend bool operator==(const MacroAction&, const MacroAction&) = default;
};

// One macro as the files hold it (16512 bytes). Actions beyond action_count are not kept.
struct MacroRecord {
    static constexpr std::size_t kSize = 16512;
    static constexpr std::size_t kMaxCount = 100;
    static constexpr std::size_t kMaxActions = 2000;
    static constexpr std::size_t kMaxNameLength = 249;

    std::u16string name;
    std::uint8_t cycles = 1;
    std::uint16_t is_new = 0;
    std::uint16_t play_mode = 0;
    std::uint16_t id = 0;
    std::vector<MacroAction> actions;

    // Decodes kSize bytes: the name stops at its terminator or after kMaxNameLength units, the
    // action count is cut to kMaxActions and a direction other than up reads as down.
    static MacroRecord read(std::span<const std::uint8_t> bytes);
    // Writes kSize bytes; unused name units and actions are zero.
    void write(std::span<std::uint8_t> bytes) const;

    friend bool operator==(const MacroRecord&, const MacroRecord&) = default;
};

using MacroStore = std::vector<MacroRecord>;

// List position of the macro with that id; 0 when no macro has it (the keyboard then plays the
// first macro, as it always has).
int macro_position(const MacroStore& macros, std::uint32_t id);

} // namespace tarvenor
