#include "ui/skin/face_rules.h"

#include <cmath>
#include <numbers>

namespace tarvenor {

FaceSlot choose_face(const ButtonLook& look) {
    if (!look.enabled) {
        return FaceSlot::Disabled;
    }
    if (look.pressed) {
        return FaceSlot::Pressed;
    }
    if (look.hover) {
        return FaceSlot::Hover;
    }
    return look.selected ? FaceSlot::Selected : FaceSlot::Normal;
}

QRect centre_rotated_text(const QRect& area, QSize text, int escapement) {
    const double theta = escapement / 10.0 * std::numbers::pi / 180.0;
    const double run = text.width() * std::cos(theta);
    const double rise = text.width() * std::sin(theta);
    QRect moved = area;
    if (run < area.width()) {
        const int half_free = static_cast<int>((area.width() - run) / 2);
        const int half_height = static_cast<int>(text.height() * std::sin(theta) / 2);
        moved.setLeft(area.left() + half_free - half_height);
    }
    if (rise < area.height()) {
        const int half_free = static_cast<int>((area.height() - rise) / 2);
        const int half_height = static_cast<int>(text.height() * std::cos(theta) / 2);
        moved.setBottom(area.bottom() - (half_free - half_height));
    }
    return moved;
}

int font_pixel_height(int points, int dpi) {
    return static_cast<int>(std::lround(points * static_cast<double>(dpi) / 72.0));
}

} // namespace tarvenor
