#pragma once

#include <QPixmap>
#include <QRectF>
#include <QSize>

#include <filesystem>
#include <map>
#include <vector>

class QPainter;

namespace tarvenor {

// One picture of the skin: its 1x file and the files drawn at higher scales beside it
// ("name@2x.jpg"). The 1x file and its size are checked when it is named; a file's pixels are
// decoded when it is first drawn and kept, in the screen's format, until the cache releases them.
class SkinPicture {
public:
    explicit SkinPicture(std::filesystem::path file);

    const std::filesystem::path& file() const { return variants_.front().file; }
    // In logical pixels, whatever file is drawn.
    QSize size() const { return size_; }
    // The picture for a surface of `ratio` device pixels per logical pixel, decoded on first use:
    // the file of the smallest scale at or above the ratio (else the largest), with its device
    // pixel ratio set so that it measures size() in logical pixels. A file that does not decode
    // to its scale's size is named once on standard error and a smaller scale serves; when none
    // does, the pixmap is null and draws nothing.
    const QPixmap& pixmap(qreal ratio = 1) const;
    // The scale whose file pixmap(ratio) decodes first.
    int scale_for(qreal ratio) const;
    bool decoded() const { return decoded_count() > 0; }
    // How many of its files are decoded.
    int decoded_count() const;
    void release() const;

private:
    struct Variant {
        int scale;
        std::filesystem::path file;
        mutable QPixmap pixmap;
        mutable bool failed = false;
    };
    const QPixmap& decoded_variant(const Variant& variant) const;

    // By rising scale; the first is the 1x file.
    std::vector<Variant> variants_;
    QSize size_;
};

// Draws the block `source` (logical pixels of the picture) into `target`, from the file that fits
// the painter's device; a picture of another scale than the device's is smoothed.
void draw_skin_picture(QPainter& painter, const QRectF& target, const SkinPicture& picture,
                       const QRectF& source);
// The whole picture at its logical size, its top-left at `at`.
void draw_skin_picture(QPainter& painter, QPointF at, const SkinPicture& picture);

// The skin pictures of the program, one entry per file, shared by every window, control and
// state that draws from the same file. Entries live as long as the cache; only their pixels come
// and go.
class SkinPictures {
public:
    // The cache every window uses.
    static SkinPictures& shared();

    SkinPictures() = default;
    SkinPictures(const SkinPictures&) = delete;
    SkinPictures& operator=(const SkinPictures&) = delete;

    // The picture of `file`, checked on first mention: throws SkinError naming the file when it
    // is missing or its header names no picture.
    const SkinPicture& picture(const std::filesystem::path& file);
    // Drops every decoded picture and hands the memory back to the system; the next draw of a
    // picture decodes it again.
    void release();
    // How many files are decoded (a picture decoded at two scales counts twice).
    int decoded_count() const;

private:
    std::map<std::filesystem::path, SkinPicture> pictures_;
};

// Reads a picture file whole and decodes it (bitmap, JPEG, GIF, PNG); throws SkinError naming the
// file when it cannot be read or decoded.
QImage decode_skin_picture(const std::filesystem::path& file);

} // namespace tarvenor
