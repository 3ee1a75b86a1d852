#include "draw.h"

#include <QFontMetrics>
#include <QLinearGradient>

namespace tarvenor::skin {

namespace {

constexpr int kSmallestText = 7;

QColor cap_colour(Look look, bool g_key) {
    switch (look) {
    case Look::Over:
        return colour::kCapOver;
    case Look::Down:
        return colour::kAccentDeep;
    default:
        return g_key ? colour::kGCap : colour::kCap;
    }
}

QColor rim_colour(Look look) {
    switch (look) {
    case Look::Over:
    case Look::Down:
        return colour::kAccent;
    case Look::Marked:
        return colour::kAssigned;
    default:
        return colour::kCapEdge;
    }
}

// The largest size from `pixels` down at which the text fits, wrapped at blanks when needed.
int fitting_size(const QRect& area, const QString& text, int pixels, bool bold, int flags) {
    for (int size = pixels; size > kSmallestText; --size) {
        const QFontMetrics metrics(skin_font(size, bold));
        const QRect needed = metrics.boundingRect(area, flags, text);
        if (needed.width() <= area.width() && needed.height() <= area.height()) {
            return size;
        }
    }
    return kSmallestText;
}

// Where a push button's legend is written: inside its rim.
QRect legend_area(const QRect& button) {
    return button.adjusted(4, 2, -4, -2);
}

} // namespace

QFont skin_font(int pixels, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void draw_fitted_text(QPainter& painter, const QRect& area, const QString& text, int pixels,
                      const QColor& colour, bool bold) {
    const int flags = Qt::AlignCenter | Qt::TextWordWrap;
    painter.setFont(skin_font(fitting_size(area, text, pixels, bold, flags), bold));
    painter.setPen(colour);
    painter.drawText(area, flags, text);
}

void draw_panel(QPainter& painter, const QRect& area) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(area.topLeft(), area.bottomLeft());
    fill.setColorAt(0, colour::kPanel.lighter(108));
    fill.setColorAt(1, colour::kPanel);
    painter.setBrush(fill);
    painter.setPen(QPen(colour::kPanelEdge, 1));
    painter.drawRoundedRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    painter.restore();
}

void draw_keycap(QPainter& painter, const QRect& area, const QString& legend, Look look,
                 bool g_key) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF outer = QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(rim_colour(look), look == Look::Normal ? 1.0 : 1.6));
    painter.setBrush(colour::kCapEdge);
    painter.drawRoundedRect(outer, 5, 5);
    // The top of the cap sits higher than its skirt unless it is held down.
    const qreal lift = look == Look::Down ? 1.5 : 3.0;
    const QRectF top = outer.adjusted(2.5, 2.0, -2.5, -lift - 1.0);
    QLinearGradient fill(top.topLeft(), top.bottomLeft());
    const QColor base = cap_colour(look, g_key);
    fill.setColorAt(0, base.lighter(118));
    fill.setColorAt(1, base);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(top, 4, 4);
    if (look == Look::Marked) {
        // A lamp on the cap's front edge, where no legend reaches.
        painter.setBrush(colour::kAssigned);
        painter.drawEllipse(QPointF(top.right() - 5, (top.bottom() + outer.bottom()) / 2), 1.6,
                            1.6);
    }
    const QColor ink = look == Look::Marked   ? colour::kAssigned.lighter(120)
                       : look == Look::Normal ? colour::kText
                                              : colour::kWhite;
    QRect text_area = top.toRect().adjusted(2, 1, -2, look == Look::Down ? 0 : -1);
    if (g_key) {
        // The lower half is left to the bank caption the program writes on the key.
        text_area.setBottom(text_area.top() + text_area.height() * 11 / 20);
    }
    draw_fitted_text(painter, text_area, legend, 13, ink, g_key);
    painter.restore();
}

int button_legend_pixels(const QRect& area, const QString& legend, int pixels) {
    return fitting_size(legend_area(area), legend, pixels, true,
                        Qt::AlignCenter | Qt::TextWordWrap);
}

void draw_button(QPainter& painter, const QRect& area, const QString& legend, Look look,
                 Marked marked, int pixels) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5);
    QColor fill = colour::kCap;
    QColor rim = colour::kPanelEdge.lighter(130);
    QColor ink = colour::kText;
    switch (look) {
    case Look::Over:
        fill = colour::kCapOver;
        rim = colour::kAccent;
        break;
    case Look::Down:
        fill = colour::kCapDown;
        rim = colour::kAccent;
        break;
    case Look::Marked:
        if (marked == Marked::Disabled) {
            fill = colour::kPanel;
            rim = colour::kPanelEdge;
            ink = colour::kTextOff;
        } else {
            fill = colour::kAccentDeep;
            rim = colour::kAccent;
            ink = colour::kWhite;
        }
        break;
    case Look::Normal:
        break;
    }
    QLinearGradient gradient(frame.topLeft(), frame.bottomLeft());
    gradient.setColorAt(0, fill.lighter(112));
    gradient.setColorAt(1, fill);
    painter.setBrush(gradient);
    painter.setPen(QPen(rim, 1.2));
    painter.drawRoundedRect(frame, 6, 6);
    if (!legend.isEmpty()) {
        draw_fitted_text(painter, legend_area(area), legend, pixels, ink, true);
    }
    painter.restore();
}

void draw_icon_button(QPainter& painter, const QRect& area, const QString& glyph, Look look) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (look == Look::Over || look == Look::Down) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(look == Look::Over ? colour::kCapOver : colour::kCapDown);
        painter.drawRoundedRect(QRectF(area).adjusted(1, 1, -1, -1), 6, 6);
    }
    const QColor ink = look == Look::Normal   ? colour::kTextDim
                       : look == Look::Marked ? colour::kTextOff
                                              : colour::kWhite;
    draw_fitted_text(painter, area, glyph, 17, ink, true);
    painter.restore();
}

QRect lamp_label_rect(const QRect& lamp) {
    return QRect(lamp.left(), lamp.top() + 18, lamp.width(), lamp.height() - 18);
}

void draw_lamp(QPainter& painter, const QRect& area, bool lit) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(area.center().x() + 0.5, area.top() + 9.5);
    if (lit) {
        QRadialGradient glow(centre, 9);
        glow.setColorAt(0, colour::kLedOn);
        glow.setColorAt(1, Qt::transparent);
        painter.setPen(Qt::NoPen);
        painter.setBrush(glow);
        painter.drawEllipse(centre, 9, 9);
    }
    painter.setPen(QPen(colour::kCapEdge, 1));
    painter.setBrush(lit ? colour::kLedOn : colour::kCap);
    painter.drawEllipse(centre, 4, 4);
    painter.restore();
}

void draw_mark(QPainter& painter, QPointF centre, qreal size) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour::kAccent);
    const qreal half = size / 2;
    const QPointF corners[] = {centre + QPointF(-half, -half * 0.9),
                               centre + QPointF(half, -half * 0.9),
                               centre + QPointF(0, half * 1.1)};
    painter.drawPolygon(corners, 3);
    painter.restore();
}

void draw_field(QPainter& painter, const QRect& area) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour::kPanelEdge, 1));
    painter.setBrush(colour::kField);
    painter.drawRoundedRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    painter.restore();
}

} // namespace tarvenor::skin
