#pragma once

#include "model/key_codes.h"
#include "model/lighting.h"
#include "ui/logic/control_ids.h"

#include <array>
#include <optional>
#include <string>

namespace tarvenor {

// Fn and D1..D6 as plain numbers, for code that works on control numbers throughout.
namespace control {
inline constexpr int kFn = id_of(MainControl::Fn);
inline constexpr std::array<int, 6> kDKeys{id_of(MainControl::D1), id_of(MainControl::D2),
                                           id_of(MainControl::D3), id_of(MainControl::D4),
                                           id_of(MainControl::D5), id_of(MainControl::D6)};
} // namespace control

// The skin key a key button is placed from: "KEY_%03X" of its KeyIndex (A is KEY_01E).
std::string key_skin_key(KeyCode code);
// "FUNC_G1".."FUNC_G9" for button number j = 0..8.
std::string g_skin_key(int j);

// The key of one of the 106 key buttons.
std::optional<KeyCode> keyboard_key_of(int control_id);
// The button number j (0..8) of G1..G9.
std::optional<int> g_button_of(int control_id);
// LightPosition of a key button, a G key or Fn; nothing for every other control.
std::optional<int> light_position_of(int control_id);

} // namespace tarvenor
