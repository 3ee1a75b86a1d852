#pragma once

#include "dialog_skin.h"
#include "draw.h"

namespace tarvenor::skin {

FacePainter keycap_face(const QString& legend, bool g_key = false);
FacePainter button_face(const QString& legend, Marked marked = Marked::Selected,
                        int pixels = kButtonLegendPixels);
FacePainter icon_face(const QString& glyph);
// A button that looks disabled in every picture (controls a page set shows as unavailable).
FacePainter unavailable_face(const QString& legend);
FacePainter unavailable_icon_face(const QString& glyph);
// Draws nothing: the chrome shows, the program draws the control's text.
void blank_face(QPainter&, const QRect&, Look);

// A dialog's title bar: a band, with the product mark where the program writes a title after it.
void draw_title_bar(QPainter& p, int width, int height, bool mark);

} // namespace tarvenor::skin
