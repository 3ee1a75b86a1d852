#pragma once

#include "model/key_codes.h"
#include "model/lighting.h"

#include <array>
#include <optional>
#include <string>

namespace tarvenor {

// Control ids of the main window's keyboard drawing and of the buttons its logic tells apart.
namespace control {
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kMacroEdit = 1007;
inline constexpr int kApply = 1006;
inline constexpr int kProfiles = 1005;
inline constexpr int kEnterKey = 1070;
inline constexpr int kBracketKey = 1055;
inline constexpr int kFn = 1174;
inline constexpr int kSkinLink = 1121;
inline constexpr int kHelp = 1122;
inline constexpr int kMinimise = 1123;
inline constexpr int kClose = 1124;
inline constexpr int kBankIndicator = 1128;
inline constexpr int kVendorLink = 1201;
inline constexpr int kMenu = 1139;
inline constexpr int kVersion = 1134;
inline constexpr int kBusyBar = 1177;
inline constexpr int kLastGKey = 1143; // G9: the macro-only key
inline constexpr std::array<int, 6> kDKeys{1016, 1017, 1018, 1019, 1020, 1021};
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
