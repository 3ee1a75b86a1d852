#pragma once

#include <QImage>

#include <string>
#include <vector>

namespace tarvenor::skin {

struct NamedPicture {
    std::string name;
    QImage picture;
};

// The 64 bitmaps of the lighting panel: light switch, direction, random colour, colour choice,
// paint tools, the ten busy-bar frames and the 26 slider pictures, drawn at `scale`.
std::vector<NamedPicture> lighting_bitmaps(int scale = 1);

} // namespace tarvenor::skin
