#pragma once

#include <QPixmap>
#include <QSize>

#include <filesystem>
#include <map>

namespace tarvenor {

// One picture file of the skin. Its file and size are checked when it is named; its pixels are
// decoded when it is first drawn and kept, in the screen's format, until the cache releases them.
class SkinPicture {
public:
    explicit SkinPicture(std::filesystem::path file);

    const std::filesystem::path& file() const { return file_; }
    QSize size() const { return size_; }
    // The decoded picture; decodes it on first use. A file that no longer decodes draws nothing
    // and is named once on standard error.
    const QPixmap& pixmap() const;
    bool decoded() const { return !pixmap_.isNull(); }
    void release() const { pixmap_ = QPixmap(); }

private:
    std::filesystem::path file_;
    QSize size_;
    mutable QPixmap pixmap_;
    mutable bool failed_ = false;
};

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
    int decoded_count() const;

private:
    std::map<std::filesystem::path, SkinPicture> pictures_;
};

// Reads a picture file whole and decodes it (bitmap, JPEG, GIF, PNG); throws SkinError naming the
// file when it cannot be read or decoded.
QImage decode_skin_picture(const std::filesystem::path& file);

} // namespace tarvenor
