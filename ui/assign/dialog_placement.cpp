#include "ui/assign/dialog_placement.h"

namespace tarvenor {

QPoint position_beside_key(const QRect& key, QSize size, const QRect& screen) {
    // Edges as the window system counts them: right and bottom one past the last pixel.
    const int left = key.x() - screen.x();
    const int top = key.y() - screen.y();
    const int right = left + key.width();
    const int bottom = top + key.height();
    const int w = size.width();
    const int h = size.height();
    const bool room_right = screen.width() - right >= w;
    const bool room_below = screen.height() - bottom >= h;
    const bool room_above = top >= h;
    QPoint corner(right, bottom);
    if (room_right && room_below) {
        corner = {right, bottom};
    } else if (room_right && room_above) {
        corner = {right, top - h};
    } else if (left >= w && room_below) {
        corner = {left - w, bottom};
    } else if (left >= w && room_above) {
        corner = {left - w, top - h};
    }
    return corner + screen.topLeft();
}

} // namespace tarvenor
