#include "tray_icons.h"

#include "draw.h"
#include "look.h"

#include <QPainter>

namespace tarvenor::skin {
namespace {

constexpr int kIconSize = 64;

enum class IconState { NoKeyboard, Connected, Indicator };

// A keycap seen from above with the product mark; grey without a keyboard, lit with one, and a
// green lamp in the corner while the keyboard's indicator is on.
QImage draw_icon(IconState state) {
    QImage icon(kIconSize, kIconSize, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    const bool lit = state != IconState::NoKeyboard;
    p.setPen(QPen(lit ? colour::kAccent : colour::kTextOff, 3));
    p.setBrush(colour::kTitleBar);
    p.drawRoundedRect(QRectF(4, 10, 56, 44), 9, 9);
    p.setPen(Qt::NoPen);
    p.setBrush(lit ? colour::kAccent : colour::kTextDim);
    const QPointF mark(32, 32);
    const qreal size = 26;
    p.drawPolygon(
        QPolygonF({mark + QPointF(-size / 2, -size * 0.4), mark + QPointF(size / 2, -size * 0.4),
                   mark + QPointF(0, size * 0.45)}));
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

} // namespace tarvenor::skin
