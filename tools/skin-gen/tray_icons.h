#pragma once

#include "lighting_bitmaps.h"

#include <vector>

namespace tarvenor::skin {

// The program's icons, "icon128.png" (no keyboard, also the window's icon), "icon141.png"
// (keyboard connected) and "icon142.png" (the keyboard's indicator on).
std::vector<NamedPicture> tray_icons();

} // namespace tarvenor::skin
