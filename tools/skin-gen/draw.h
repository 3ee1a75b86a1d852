#pragma once

#include "look.h"

#include <QPainter>
#include <QRect>
#include <QString>

namespace tarvenor::skin {

// Rounded panel with a hairline edge; the program writes its title.
void draw_panel(QPainter& painter, const QRect& area);
// A keycap with its legend; long names wrap and shrink until they fit.
void draw_keycap(QPainter& painter, const QRect& area, const QString& legend, Look look,
                 bool g_key = false);
// What a push button's marked look shows.
enum class Marked { Selected, Disabled };
// The size of a push button's legend: at most `pixels`, less where it would not fit.
inline constexpr int kButtonLegendPixels = 12;
int button_legend_pixels(const QRect& area, const QString& legend,
                         int pixels = kButtonLegendPixels);
// A push button; the legend is empty where the program draws the caption itself.
void draw_button(QPainter& painter, const QRect& area, const QString& legend, Look look,
                 Marked marked = Marked::Selected, int pixels = kButtonLegendPixels);
// A flat icon button of the title bar; the icon is a short glyph text.
void draw_icon_button(QPainter& painter, const QRect& area, const QString& glyph, Look look);
// An indicator lamp with a label under or beside it.
void draw_lamp(QPainter& painter, const QRect& area, bool lit);
// Where the program writes a lamp's label: under its light.
QRect lamp_label_rect(const QRect& lamp);
// The product mark: a triangle pointing down, `size` pixels across, centred at `centre`.
void draw_mark(QPainter& painter, QPointF centre, qreal size);
// A field the program fills (lists, edit boxes): a sunken dark rectangle.
void draw_field(QPainter& painter, const QRect& area);
// Text fitted into a rectangle, shrinking from `pixels` down to 7 pixels.
void draw_fitted_text(QPainter& painter, const QRect& area, const QString& text, int pixels,
                      const QColor& colour, bool bold = false);

} // namespace tarvenor::skin
