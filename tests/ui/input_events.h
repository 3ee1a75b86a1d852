#pragma once

#include <QApplication>
#include <QWheelEvent>
#include <QWidget>

namespace tarvenor::testing {

// Turns the mouse wheel over the middle of `target` by `delta` (120 = one notch, up when
// positive), as the platform delivers it.
inline void turn_wheel(QWidget& target, int delta) {
    const QPointF at(target.width() / 2.0, target.height() / 2.0);
    QWheelEvent event(at, target.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&target, &event);
}

} // namespace tarvenor::testing
