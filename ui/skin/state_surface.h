#pragma once

#include <QImage>
#include <QSize>

#include <array>
#include <filesystem>

namespace tarvenor {

// One state picture of a whole dialog, rendered once, unscaled, from its top-left corner into a
// surface as large as the dialog's client area plus 100 pixels each way. Controls cut their faces
// from it; it outlives them and is never decoded or scaled again.
class StateSurface {
public:
    static constexpr int kMargin = 100;

    StateSurface() = default;
    StateSurface(const QImage& picture, QSize client);

    // Decodes the picture file; throws SkinError naming the file when it cannot.
    static StateSurface load(const std::filesystem::path& file, QSize client);

    const QImage& surface() const { return surface_; }

private:
    QImage surface_;
};

// The five face slots of an image control, in this order. The surfaces are shared, not owned.
enum class FaceSlot { Normal = 0, Hover, Pressed, Disabled, Selected };
using FaceImages = std::array<const StateSurface*, 5>;

// Reads a picture file whole and decodes it (bitmap, JPEG, GIF, PNG); throws SkinError naming the
// file when it cannot be read or decoded.
QImage load_skin_picture(const std::filesystem::path& file);

} // namespace tarvenor
