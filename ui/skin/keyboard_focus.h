#pragma once

#include <QColor>
#include <QRect>

class QAbstractButton;
class QKeyEvent;
class QPainter;
class QWidget;

namespace tarvenor {

// The focus frame's colour: the skin's accent, which stands out on every dark face and on the
// lighting frames of the keys.
inline const QColor kFocusFrameColour(0x2c, 0xc7, 0xff);

// A picture-drawn button is reached with Tab; a click presses it without moving the focus (and
// its frame) from where Tab left it.
void take_focus_from_tab_only(QWidget& button);

// Whether `widget` shows where the keyboard focus is: it has the focus and its window was last
// moved through with the keyboard (a mouse click gives the focus without a frame, as the
// desktop does for its own buttons).
bool shows_focus_frame(const QWidget& widget);

// A dashed frame just inside `area`, drawn over whatever the control painted.
void draw_focus_frame(QPainter& painter, const QRect& area);

// Enter and Return press a focused picture or colour button as Space does; true when the key was
// one of them.
bool click_on_enter(QAbstractButton& button, QKeyEvent& event);

} // namespace tarvenor
