#include "ui/skin/placement.h"

#include "ui/skin/image_button.h"

#include <QWidget>

namespace tarvenor {

namespace {

void set_geometry(QWidget& control, const SkinRect& rect) {
    control.setGeometry(rect.x, rect.y, rect.w, rect.h);
}

} // namespace

SkinRect place_image_control(ImageButton& control, const IniFile& skin, std::string_view section,
                             std::string_view key, const FaceImages& faces) {
    const SkinRect rect = read_skin_rect(skin, section, key);
    set_geometry(control, rect);
    control.set_faces({rect.x, rect.y}, faces, false);
    if (rect.unused()) {
        control.setEnabled(false);
    }
    return rect;
}

SkinRect place_control(QWidget& control, const IniFile& skin, std::string_view section,
                       std::string_view key) {
    const SkinRect rect = read_skin_rect(skin, section, key);
    set_geometry(control, rect);
    return rect;
}

SkinRect move_control(QWidget& control, const IniFile& skin, std::string_view section,
                      std::string_view key) {
    const SkinRect rect = read_skin_rect(skin, section, key);
    control.move(rect.x, rect.y);
    control.update();
    return rect;
}

SkinRect place_with_face(ImageButton& control, const IniFile& skin, std::string_view section,
                         std::string_view key, std::string_view face_section,
                         std::string_view face_key, const SkinPicture& image) {
    const SkinRect rect = read_skin_rect(skin, section, key);
    const SkinRect face = read_skin_rect(skin, face_section, face_key);
    set_geometry(control, rect);
    control.set_faces({face.x, face.y}, {&image, &image, &image, &image, &image});
    return rect;
}

} // namespace tarvenor
