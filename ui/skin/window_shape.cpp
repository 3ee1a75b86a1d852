#include "ui/skin/window_shape.h"

#include <algorithm>

namespace tarvenor {

namespace {

bool is_white(QRgb pixel) {
    return (pixel & 0x00FFFFFFu) == 0x00FFFFFFu;
}

template <typename Pixel, typename IsWhite>
void collect_row_runs(const Pixel* row, int y, int width, IsWhite is_white_pixel,
                      std::vector<QRect>& runs) {
    int x = 0;
    while (x < width) {
        while (x < width && is_white_pixel(row[x])) {
            ++x;
        }
        const int start = x;
        while (x < width && !is_white_pixel(row[x])) {
            ++x;
        }
        if (x > start) {
            runs.emplace_back(start, y, x - start, 1);
        }
    }
}

// Outlines are usually one-bit pictures: read through their palette at a byte a pixel instead of
// widening every pixel to 32 bits first.
bool has_palette(const QImage& picture) {
    return picture.format() == QImage::Format_Mono || picture.format() == QImage::Format_MonoLSB ||
           picture.format() == QImage::Format_Indexed8;
}

void collect_indexed_runs(const QImage& outline, std::vector<QRect>& runs) {
    const QImage pixels = outline.convertToFormat(QImage::Format_Indexed8);
    std::vector<bool> white(256, false);
    const QList<QRgb> palette = pixels.colorTable();
    for (qsizetype i = 0; i < palette.size() && i < 256; ++i) {
        white[static_cast<std::size_t>(i)] = is_white(palette[i]);
    }
    const auto is_white_index = [&white](uchar index) { return white[index]; };
    for (int y = 0; y < pixels.height(); ++y) {
        collect_row_runs(pixels.constScanLine(y), y, pixels.width(), is_white_index, runs);
    }
}

void collect_rgb_runs(const QImage& outline, std::vector<QRect>& runs) {
    const QImage pixels = outline.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < pixels.height(); ++y) {
        collect_row_runs(reinterpret_cast<const QRgb*>(pixels.constScanLine(y)), y, pixels.width(),
                         is_white, runs);
    }
}

} // namespace

std::vector<QRect> opaque_runs(const QImage& outline) {
    std::vector<QRect> runs;
    if (outline.isNull()) {
        return runs;
    }
    if (has_palette(outline)) {
        collect_indexed_runs(outline, runs);
    } else {
        collect_rgb_runs(outline, runs);
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
