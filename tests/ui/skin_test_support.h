#pragma once

#include <QColor>
#include <QImage>

#include <filesystem>
#include <string>
#include <string_view>

namespace tarvenor::test {

// A picture whose every pixel tells where it came from: red = x, green = y, blue = the tag.
QImage coordinate_picture(QSize size, int tag);

// The mean difference per colour channel (0..255) of the `size` blocks at `at_a` in `a` and `at_b`
// in `b`.
double mean_difference(const QImage& a, QPoint at_a, const QImage& b, QPoint at_b, QSize size);

// A fresh folder under the temporary directory, removed with the object.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    void write(std::string_view name, std::string_view text) const;
    void save(std::string_view name, const QImage& picture) const;

private:
    std::filesystem::path path_;
};

} // namespace tarvenor::test
