#include "ui/skin/skin_pictures.h"

#include "ui/skin/skin_error.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>
#include <QPixmapCache>
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

SkinPicture::SkinPicture(std::filesystem::path file)
    : file_(std::move(file)), size_(picture_size(file_)) {}

const QPixmap& SkinPicture::pixmap() const {
    if (pixmap_.isNull() && !failed_) {
        try {
            pixmap_ = QPixmap::fromImage(decode_skin_picture(file_));
        } catch (const SkinError& error) {
            failed_ = true;
            qWarning("%s", error.what());
        }
    }
    return pixmap_;
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
    // What the style drew and kept goes too: it is drawn again when the window next shows.
    QPixmapCache::clear();
#if defined(__GLIBC__)
    // The freed pictures lie in the middle of the heap, where the allocator would keep them.
    malloc_trim(0);
#endif
}

int SkinPictures::decoded_count() const {
    int count = 0;
    for (const auto& [file, picture] : pictures_) {
        count += picture.decoded() ? 1 : 0;
    }
    return count;
}

} // namespace tarvenor
