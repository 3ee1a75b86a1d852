#pragma once

#include "model/key_codes.h"

#include <QRect>

#include <vector>

namespace tarvenor::skin {

// The main window's title bar, above the keyboard drawing; tall enough for the profile-manager
// button, across which the window writes the profile's name turned upwards.
inline constexpr int kMainTitleBarHeight = 96;

// Where a key sits on the keyboard drawing of the main window.
struct KeyPlace {
    KeyCode code;
    QRect rect;
};

// The full-size keyboard in six rows: main block, navigation block and number pad.
const std::vector<KeyPlace>& keyboard_places();
// The rectangle of a drawn key; throws when the layout has no place for it.
QRect key_rect(KeyCode code);
// G1..G9 (j = 0..8) in two columns left of the main block, and Fn in the bottom row.
QRect g_key_rect(int j);
QRect fn_key_rect();
// D1..D6 (k = 0..5): six equal keys across the row of F1..F4, shown there while Flip is on.
inline constexpr int kDKeyCount = 6;
QRect d_key_rect(int k);
// The free corners of the drawing: above the G keys and above the number pad.
QRect bank_indicator_rect();
QRect lock_indicator_rect(int i);
// The plate all keys stand on.
QRect keyboard_plate();

} // namespace tarvenor::skin
