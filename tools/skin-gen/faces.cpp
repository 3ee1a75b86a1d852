#include "faces.h"

namespace tarvenor::skin {

FacePainter keycap_face(const QString& legend, bool g_key) {
    return [legend, g_key](QPainter& p, const QRect& r, Look look) {
        draw_keycap(p, r, legend, look, g_key);
    };
}

FacePainter button_face(const QString& legend, Marked marked, int pixels) {
    return [legend, marked, pixels](QPainter& p, const QRect& r, Look look) {
        draw_button(p, r, legend, look, marked, pixels);
    };
}

FacePainter icon_face(const QString& glyph) {
    return [glyph](QPainter& p, const QRect& r, Look look) { draw_icon_button(p, r, glyph, look); };
}

FacePainter unavailable_face(const QString& legend) {
    return [legend](QPainter& p, const QRect& r, Look) {
        draw_button(p, r, legend, Look::Marked, Marked::Disabled);
    };
}

FacePainter unavailable_icon_face(const QString& glyph) {
    return
        [glyph](QPainter& p, const QRect& r, Look) { draw_icon_button(p, r, glyph, Look::Marked); };
}

void blank_face(QPainter&, const QRect&, Look) {}

void draw_title_bar(QPainter& p, int width, int height, bool mark) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bar(0, 0, 0, height);
    bar.setColorAt(0, colour::kTitleBar.lighter(130));
    bar.setColorAt(1, colour::kTitleBar);
    p.fillRect(QRect(0, 0, width, height), bar);
    p.setPen(QPen(colour::kAccentDeep, 1));
    p.drawLine(QPointF(0, height + 0.5), QPointF(width, height + 0.5));
    if (mark) {
        draw_mark(p, QPointF(26, height / 2.0), 16);
    }
    p.restore();
}

} // namespace tarvenor::skin
