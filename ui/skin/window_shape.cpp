#include "ui/skin/window_shape.h"

#include <algorithm>

namespace tarvenor {

namespace {

bool is_white(QRgb pixel) {
    return (pixel & 0x00FFFFFFu) == 0x00FFFFFFu;
}

void collect_row_runs(const QRgb* row, int y, int width, std::vector<QRect>& runs) {
    int x = 0;
    while (x < width) {
        while (x < width && is_white(row[x])) {
            ++x;
        }
        const int start = x;
        while (x < width && !is_white(row[x])) {
            ++x;
        }
        if (x > start) {
            runs.emplace_back(start, y, x - start, 1);
        }
    }
}

} // namespace

std::vector<QRect> opaque_runs(const QImage& outline) {
    std::vector<QRect> runs;
    const QImage pixels = outline.convertToFormat(QImage::Format_RGB32);
    if (pixels.isNull()) {
        return runs;
    }
    for (int y = 0; y < pixels.height(); ++y) {
        collect_row_runs(reinterpret_cast<const QRgb*>(pixels.constScanLine(y)), y, pixels.width(),
                         runs);
    }
    return runs;
}

QRegion outline_region(const QImage& outline, int batch) {
    const std::vector<QRect> runs = opaque_runs(outline);
    QRegion region;
    for (std::size_t first = 0; first < runs.size(); first += static_cast<std::size_t>(batch)) {
        const auto count = std::min(runs.size() - first, static_cast<std::size_t>(batch));
        QRegion part;
        part.setRects(runs.data() + first, static_cast<int>(count));
        region += part;
    }
    return region;
}

} // namespace tarvenor
