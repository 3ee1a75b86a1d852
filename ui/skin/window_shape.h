#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>

#include <vector>

namespace tarvenor {

// The maximal horizontal runs of pixels that are not pure white, row by row from the top, each as
// a rectangle one pixel high. Empty for a null picture.
std::vector<QRect> opaque_runs(const QImage& outline);

// The window outline: the union of the runs, merged into the growing region in batches of at
// most `batch` rectangles so that no single region operation gets unbounded input.
QRegion outline_region(const QImage& outline, int batch = 2000);

} // namespace tarvenor
