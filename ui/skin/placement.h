#pragma once

#include "model/ini_file.h"
#include "ui/skin/face_images.h"
#include "ui/skin/skin_rect.h"

#include <string_view>

class QWidget;

namespace tarvenor {

class ImageButton;

// Moves and sizes an image control from its rectangle and gives it its five faces cut at its own
// position; a control at (1, 1) is one the skin does not use and is disabled.
SkinRect place_image_control(ImageButton& control, const IniFile& skin, std::string_view section,
                             std::string_view key, const FaceImages& faces);

// Moves and sizes any control from its rectangle; (1, 1) has no special meaning here.
SkinRect place_control(QWidget& control, const IniFile& skin, std::string_view section,
                       std::string_view key);

// Moves a control to its rectangle's position, keeping its own size, and repaints it.
SkinRect move_control(QWidget& control, const IniFile& skin, std::string_view section,
                      std::string_view key);

// Moves and sizes the control from `key`; all five faces are the one block of `image` addressed by
// the position under `face_key` in `face_section`.
SkinRect place_with_face(ImageButton& control, const IniFile& skin, std::string_view section,
                         std::string_view key, std::string_view face_section,
                         std::string_view face_key, const SkinPicture& image);

} // namespace tarvenor
