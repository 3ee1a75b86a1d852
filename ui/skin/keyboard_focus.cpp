#include "ui/skin/keyboard_focus.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QPainter>
#include <QPen>

namespace tarvenor {

void take_focus_from_tab_only(QWidget& button) {
    button.setFocusPolicy(Qt::TabFocus);
}

bool shows_focus_frame(const QWidget& widget) {
    return widget.hasFocus() && widget.window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

void draw_focus_frame(QPainter& painter, const QRect& area) {
    painter.save();
    QPen pen(kFocusFrameColour, 1, Qt::DashLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(1, 1, -2, -2));
    painter.restore();
}

bool click_on_enter(QAbstractButton& button, QKeyEvent& event) {
    if (event.key() != Qt::Key_Return && event.key() != Qt::Key_Enter) {
        return false;
    }
    event.accept();
    if (!event.isAutoRepeat()) {
        button.click();
    }
    return true;
}

} // namespace tarvenor
