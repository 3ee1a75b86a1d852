#include "ui/skin/skin_pictures.h"

#include "ui/logic/skin_keys.h"
#include "ui/skin/skin_error.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>
#include <QPainter>
#include <QtGlobal>

#include <fstream>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace tarvenor {

namespace {

// Enough of a file for the header of the pictures the skin uses; a header further in is found by
// reading the whole file.
constexpr std::streamsize kHeaderBytes = 64 * 1024;

// Reads the first `limit` bytes of the file, or all of it for a negative limit; throws SkinError
// naming a file that is not there.
QByteArray read_picture_file(const std::filesystem::path& file, std::streamsize limit) {
    // A folder (an empty name in the skin file) is as missing as an absent file.
    std::error_code error;
    std::ifstream in;
    if (std::filesystem::is_regular_file(file, error)) {
        in.open(file, std::ios::binary);
    }
    if (!in) {
        throw SkinError("skin picture missing: " + file.string());
    }
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    const auto whole = error ? std::streamsize{0} : static_cast<std::streamsize>(size);
    const std::streamsize wanted = limit < 0 || whole < limit ? whole : limit;
    QByteArray bytes(static_cast<qsizetype>(wanted), Qt::Uninitialized);
    in.read(bytes.data(), wanted);
    bytes.resize(static_cast<qsizetype>(in.gcount()));
    return bytes;
}

QSize header_size(QByteArray bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer).size();
}

QSize picture_size(const std::filesystem::path& file) {
    QSize size = header_size(read_picture_file(file, kHeaderBytes));
    if (!size.isValid()) {
        size = header_size(read_picture_file(file, -1));
    }
    if (!size.isValid()) {
        throw SkinError("skin picture cannot be decoded: " + file.string());
    }
    return size;
}

} // namespace

QImage decode_skin_picture(const std::filesystem::path& file) {
    const QByteArray bytes = read_picture_file(file, -1);
    QImage picture;
    if (!picture.loadFromData(bytes)) {
        throw SkinError("skin picture cannot be decoded: " + file.string());
    }
    return picture;
}

SkinPicture::SkinPicture(std::filesystem::path file) : size_(picture_size(file)) {
    variants_.push_back({1, file, {}, false});
    for (const int scale : skin_keys::kPictureScales) {
        std::error_code error;
        std::filesystem::path scaled = skin_keys::scaled_picture_file(file, scale);
        // Only looked for here: its header is read when a screen first asks for it.
        if (scale > 1 && std::filesystem::is_regular_file(scaled, error)) {
            variants_.push_back({scale, std::move(scaled), {}, false});
        }
    }
}

int SkinPicture::scale_for(qreal ratio) const {
    for (const Variant& variant : variants_) {
        if (variant.scale >= ratio) {
            return variant.scale;
        }
    }
    return variants_.back().scale;
}

const QPixmap& SkinPicture::pixmap(qreal ratio) const {
    const int wanted = scale_for(ratio);
    for (auto variant = variants_.rbegin(); variant != variants_.rend(); ++variant) {
        if (variant->scale <= wanted && !variant->failed) {
            const QPixmap& pixmap = decoded_variant(*variant);
            if (!pixmap.isNull()) {
                return pixmap;
            }
        }
    }
    return variants_.front().pixmap;
}

const QPixmap& SkinPicture::decoded_variant(const Variant& variant) const {
    if (!variant.pixmap.isNull() || variant.failed) {
        return variant.pixmap;
    }
    try {
        QImage image = decode_skin_picture(variant.file);
        if (image.size() != size_ * variant.scale) {
            throw SkinError("skin picture is not " + std::to_string(variant.scale) +
                            " times the size of its 1x picture: " + variant.file.string());
        }
        image.setDevicePixelRatio(variant.scale);
        variant.pixmap = QPixmap::fromImage(std::move(image));
    } catch (const SkinError& error) {
        variant.failed = true;
        qWarning("%s", error.what());
    }
    return variant.pixmap;
}

int SkinPicture::decoded_count() const {
    int count = 0;
    for (const Variant& variant : variants_) {
        count += variant.pixmap.isNull() ? 0 : 1;
    }
    return count;
}

void SkinPicture::release() const {
    for (const Variant& variant : variants_) {
        variant.pixmap = QPixmap();
    }
}

void draw_skin_picture(QPainter& painter, const QRectF& target, const SkinPicture& picture,
                       const QRectF& source) {
    const qreal ratio = painter.device() != nullptr ? painter.device()->devicePixelRatio() : 1.0;
    const QPixmap& pixmap = picture.pixmap(ratio);
    if (pixmap.isNull()) {
        return;
    }
    const qreal scale = pixmap.devicePixelRatio();
    const bool smooth = painter.testRenderHint(QPainter::SmoothPixmapTransform);
    // 125 %, 150 %: the 2x picture shrunk smoothly is sharper than the 1x one blown up.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth || !qFuzzyCompare(scale, ratio));
    painter.drawPixmap(target, pixmap, QRectF(source.topLeft() * scale, source.size() * scale));
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
}

void draw_skin_picture(QPainter& painter, QPointF at, const SkinPicture& picture) {
    const QRectF whole(QPointF(0, 0), QSizeF(picture.size()));
    draw_skin_picture(painter, whole.translated(at), picture, whole);
}

SkinPictures& SkinPictures::shared() {
    static SkinPictures cache;
    static const bool released_at_exit = [] {
        // Pixels must not outlive the application object that made them.
        qAddPostRoutine([] { shared().release(); });
        return true;
    }();
    (void)released_at_exit;
    return cache;
}

const SkinPicture& SkinPictures::picture(const std::filesystem::path& file) {
    const std::filesystem::path key = file.lexically_normal();
    const auto found = pictures_.find(key);
    if (found != pictures_.end()) {
        return found->second;
    }
    return pictures_.try_emplace(key, key).first->second;
}

void SkinPictures::release() {
    for (auto& [file, picture] : pictures_) {
        picture.release();
    }
#if defined(__GLIBC__)
    // The freed pictures lie in the middle of the heap, where the allocator would keep them.
    malloc_trim(0);
#endif
}

int SkinPictures::decoded_count() const {
    int count = 0;
    for (const auto& [file, picture] : pictures_) {
        count += picture.decoded_count();
    }
    return count;
}

} // namespace tarvenor
