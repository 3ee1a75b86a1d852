#pragma once

#include "model/ini_file.h"
#include "model/text_table.h"
#include "ui/skin/image_button.h"
#include "ui/skin/skin_pictures.h"

#include <QString>

#include <array>
#include <filesystem>
#include <map>

namespace tarvenor {

// The main window's state pictures, shared by every image button.
struct MainPictures {
    const SkinPicture* normal = nullptr;
    const SkinPicture* over = nullptr;
    const SkinPicture* down = nullptr;
    const SkinPicture* disable = nullptr;
    const SkinPicture* arrows = nullptr;
    const SkinPicture* colour0 = nullptr;
    const SkinPicture* colour1 = nullptr;
    // The second image set: the same window with D1..D6 in the F1..F4 row, for Flip.
    const SkinPicture* flip_normal = nullptr;
    const SkinPicture* flip_over = nullptr;
    const SkinPicture* flip_down = nullptr;
    const SkinPicture* flip_disable = nullptr;

    // Names the pictures of the skin folder in `cache`; throws SkinError naming the first one
    // that is missing.
    static MainPictures find(SkinPictures& cache, const std::filesystem::path& skin_folder);
};

// The image buttons of the main window by control id.
using ButtonMap = std::map<int, ImageButton*>;

// Places the key buttons (G keys first, then the 106 keys, then Fn), the window's other buttons,
// D1..D6 over the F1..F4 row, the two arrow indicators, their faces, tooltips and captions, and
// the labels written over the pictures, from the main skin file.
ButtonMap place_main_controls(QWidget& window, const IniFile& skin, const MainPictures& pictures,
                              const LanguageFile& language, const TextTable& texts);

// Repaints that make overlapping faces come out right: G keys after the bank indicator, "]}"
// after Enter, the F keys and the Flip controls after the Flip indicator.
void couple_draws(ButtonMap& buttons);

// The Flip indicator's faces, from the second image set while Flip is on.
FaceImages flip_indicator_faces(const MainPictures& pictures, bool flip);

// The caption font the window writes on its buttons, light grey.
void set_caption(ImageButton& button, const QString& text, int points, const QString& face,
                 int format);

} // namespace tarvenor
