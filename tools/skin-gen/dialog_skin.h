#pragma once

#include "look.h"

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QSize>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tarvenor::skin {

using FacePainter = std::function<void(QPainter&, const QRect&, Look)>;

// A control drawn in the state pictures; its faces are cut from where it sits.
struct ImageControl {
    std::string key;
    QRect rect;
    FacePainter paint;
    // Controls that only some pages show stay off the background, which shows wherever they are
    // hidden.
    bool on_background = true;
};

// A control the program draws itself (labels, lists, sliders); only its place is in the skin.
struct PlainControl {
    std::string key;
    QRect rect;
};

struct IniValue {
    std::string section;
    std::string key;
    std::string value;
};

// Everything one skinned dialog is drawn from.
struct DialogSkin {
    QSize size;
    // Panels and decorations under the controls.
    std::function<void(QPainter&)> chrome;
    std::vector<ImageControl> images;
    std::vector<PlainControl> plain;
    // SCREEN values and any further sections, in file order.
    std::vector<IniValue> extra;
};

// The dialog with its faces in one look. Faces are cut one pixel up and left of a control's
// place, so the state pictures are drawn shifted by that pixel; the background is not.
enum class Sheet { Background, State };
// `scale` device pixels for each pixel of the skin's rectangles (the picture's device pixel
// ratio); everything is drawn in the 1x coordinates.
QImage render_dialog(const DialogSkin& dialog, Look look, Sheet sheet, int scale = 1);
// An empty picture of `size` 1x pixels drawn at `scale`, filled with `fill`.
QImage scaled_picture(QSize size, int scale, const QColor& fill);
// Pure white outside the rounded window outline, black inside.
QImage render_outline(QSize size, int radius);

// "x,y,w,h" of a rectangle.
std::string rect_value(const QRect& rect);
// Writes the skin file: SCREEN and the extra sections, BUTTONINFO with every control.
void write_skin_file(const DialogSkin& dialog, const std::filesystem::path& file);
// Saves a picture by the format its name ends with, a picture drawn at a scale above 1 under the
// name of that scale ("main_back@2x.jpg" for "main_back.jpg"); throws when it cannot.
void save_picture(const QImage& picture, const std::filesystem::path& file);

} // namespace tarvenor::skin
