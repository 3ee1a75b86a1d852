#pragma once

#include "ui/skin/face_images.h"

#include <QRect>
#include <QSize>

namespace tarvenor {

struct ButtonLook {
    bool enabled = true;
    bool pressed = false;
    bool hover = false;
    bool selected = false;
};

// Disabled wins over everything, then pressed, hover and selected, in that order.
FaceSlot choose_face(const ButtonLook& look);

// Moves a caption rectangle so that text turned by `escapement` tenths of a degree, with the
// unturned extent `text`, comes out centred: the left edge moves right and the bottom edge moves
// up, each only when the turned text fits that way. Halves are truncated to whole pixels.
QRect centre_rotated_text(const QRect& area, QSize text, int escapement);

// The font height in pixels for a size in points on a screen with `dpi` vertical pixels per
// logical inch, rounded to the nearest pixel.
int font_pixel_height(int points, int dpi);

} // namespace tarvenor
