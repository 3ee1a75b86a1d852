#pragma once

#include "dialog_skin.h"

#include "model/text_table.h"

namespace tarvenor::skin {

inline constexpr QSize kMainSize(1096, 604);

// The main window: keyboard drawing, lighting panel, profile and device controls, title bar.
DialogSkin main_skin(const TextTable& texts);

// The Flip mode's background and state pictures: the main window with D1..D6 where F1..F4 are.
DialogSkin flip_skin(const TextTable& texts);

// Arrow.jpg: the four arrow faces side by side, each on the panel it is shown over; at the scale
// of the background.
QImage arrow_picture(const QImage& background);

} // namespace tarvenor::skin
