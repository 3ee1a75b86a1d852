#include "ui/skin/state_surface.h"

#include "ui/skin/skin_error.h"

#include <QPainter>

#include <fstream>
#include <iterator>

namespace tarvenor {

StateSurface::StateSurface(const QImage& picture, QSize client)
    : surface_(client.grownBy({0, 0, kMargin, kMargin}), QImage::Format_RGB32) {
    surface_.fill(Qt::black);
    QPainter painter(&surface_);
    painter.drawImage(0, 0, picture);
}

StateSurface StateSurface::load(const std::filesystem::path& file, QSize client) {
    return StateSurface(load_skin_picture(file), client);
}

QImage load_skin_picture(const std::filesystem::path& file) {
    // A folder (an empty name in the skin file) is as missing as an absent file.
    std::error_code error;
    std::ifstream in;
    if (std::filesystem::is_regular_file(file, error)) {
        in.open(file, std::ios::binary);
    }
    if (!in) {
        throw SkinError("skin picture missing: " + file.string());
    }
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    QImage picture;
    if (!picture.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                              static_cast<int>(bytes.size()))) {
        throw SkinError("skin picture cannot be decoded: " + file.string());
    }
    return picture;
}

} // namespace tarvenor
