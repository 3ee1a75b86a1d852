#include "skin_test_support.h"

#include "temp_dir.h"

#include <fstream>
#include <stdexcept>

namespace tarvenor::test {

QImage coordinate_picture(QSize size, int tag) {
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            picture.setPixel(x, y, qRgb(x % 256, y % 256, tag));
        }
    }
    return picture;
}

double mean_difference(const QImage& a, QPoint at_a, const QImage& b, QPoint at_b, QSize size) {
    const QImage pa = a.convertToFormat(QImage::Format_RGB32);
    const QImage pb = b.convertToFormat(QImage::Format_RGB32);
    long long sum = 0;
    for (int y = 0; y < size.height(); ++y) {
        const auto* row_a =
            reinterpret_cast<const QRgb*>(pa.constScanLine(at_a.y() + y)) + at_a.x();
        const auto* row_b =
            reinterpret_cast<const QRgb*>(pb.constScanLine(at_b.y() + y)) + at_b.x();
        for (int x = 0; x < size.width(); ++x) {
            const QRgb p = row_a[x];
            const QRgb q = row_b[x];
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    }
    return static_cast<double>(sum) / (3.0 * size.width() * size.height());
}

TempFolder::TempFolder() : path_(testing::make_temp_folder("tarvenor-ui")) {}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void TempFolder::write(std::string_view name, std::string_view text) const {
    std::ofstream out(path_ / name, std::ios::binary);
    out << text;
}

void TempFolder::save(std::string_view name, const QImage& picture) const {
    if (!picture.save(QString::fromStdString((path_ / name).string()))) {
        throw std::runtime_error("cannot save test picture");
    }
}

} // namespace tarvenor::test
