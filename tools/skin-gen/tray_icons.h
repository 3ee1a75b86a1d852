#pragma once

#include "lighting_bitmaps.h"

#include <vector>

namespace tarvenor::skin {

// The program's icons, "icon128.png" (no keyboard, also the window's icon), "icon141.png"
// (keyboard connected) and "icon142.png" (the keyboard's indicator on).
std::vector<NamedPicture> tray_icons();

// The application's icon for the desktop's icon theme, "<n>x<n>/apps/tarvenor.png" in several
// sizes: the keycap as it looks with a keyboard connected.
std::vector<NamedPicture> application_icons();

} // namespace tarvenor::skin
