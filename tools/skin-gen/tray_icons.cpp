#include "tray_icons.h"

#include "draw.h"
#include "look.h"

#include <QPainter>

namespace tarvenor::skin {
namespace {

// Drawn on a 64-unit grid, scaled to the size asked for.
constexpr int kIconGrid = 64;

enum class IconState { NoKeyboard, Connected, Indicator };

// A keycap seen from above with the product mark; grey without a keyboard, lit with one, and a
// green lamp in the corner while the keyboard's indicator is on.
QImage draw_icon(IconState state, int size = kIconGrid) {
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(qreal(size) / kIconGrid, qreal(size) / kIconGrid);
    const bool lit = state != IconState::NoKeyboard;
    p.setPen(QPen(lit ? colour::kAccent : colour::kTextOff, 3));
    p.setBrush(colour::kTitleBar);
    p.drawRoundedRect(QRectF(4, 10, 56, 44), 9, 9);
    p.setPen(Qt::NoPen);
    p.setBrush(lit ? colour::kAccent : colour::kTextDim);
    const QPointF mark(32, 32);
    const qreal mark_size = 26;
    p.drawPolygon(QPolygonF({mark + QPointF(-mark_size / 2, -mark_size * 0.4),
                             mark + QPointF(mark_size / 2, -mark_size * 0.4),
                             mark + QPointF(0, mark_size * 0.45)}));
    if (state == IconState::Indicator) {
        p.setBrush(colour::kLedOn);
        p.setPen(QPen(colour::kTitleBar, 2));
        p.drawEllipse(QPointF(50, 14), 9, 9);
    }
    return icon;
}

} // namespace

std::vector<NamedPicture> tray_icons() {
    return {{"icon128.png", draw_icon(IconState::NoKeyboard)},
            {"icon141.png", draw_icon(IconState::Connected)},
            {"icon142.png", draw_icon(IconState::Indicator)}};
}

std::vector<NamedPicture> application_icons() {
    std::vector<NamedPicture> icons;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        icons.push_back({folder + "/apps/tarvenor.png", draw_icon(IconState::Connected, size)});
    }
    return icons;
}

} // namespace tarvenor::skin
