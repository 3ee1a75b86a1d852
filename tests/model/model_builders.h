#pragma once

#include "model/configuration.h"
#include "model/device_codes.h"
#include "model/key_codes.h"

#include <string>

namespace tarvenor::testing {

inline KeyAssignment assignment(AssignmentType type, std::uint32_t param = 0) {
    KeyAssignment a;
    a.type = static_cast<std::uint16_t>(type);
    a.param = param;
    return a;
}

inline MacroRecord macro(std::uint16_t id, std::u16string name, std::size_t actions = 0,
                         std::uint16_t is_new = 0) {
    MacroRecord m;
    m.id = id;
    m.name = std::move(name);
    m.cycles = 1;
    m.is_new = is_new;
    for (std::size_t i = 0; i < actions; ++i) {
        m.actions.push_back({static_cast<std::uint32_t>(10 * (i % 4000)), 0x01E,
                             static_cast<std::uint16_t>(i % 2)});
    }
    return m;
}

// A factory key matrix like the keyboard's: the first positions hold keyboard keys coded as the
// keyboard codes them, one holds the Fn code, the rest nothing.
inline DefaultKeyMatrix factory_matrix() {
    DefaultKeyMatrix matrix;
    std::size_t position = 0;
    for (const KeyboardKey& key : keyboard_key_list()) {
        matrix.set(position++, device_code_for_key(key.code));
    }
    matrix.set(110, {5, 0, 0});
    return matrix;
}

} // namespace tarvenor::testing
