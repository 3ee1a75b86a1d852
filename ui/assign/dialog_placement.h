#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace tarvenor {

// Where a dialog of `size` goes beside the key button `key` (screen coordinates) on a screen of
// `screen`: below and right of the key when it fits there, else above it, else to its left, and
// below-right when nothing fits.
QPoint position_beside_key(const QRect& key, QSize size, const QRect& screen);

} // namespace tarvenor
