#pragma once

#include "model/ini_file.h"

#include <string_view>

namespace tarvenor {

// Where a control sits in its dialog's client area, and where its faces are cut from the state
// pictures: the block whose top-left pixel is (x - 1, y - 1).
struct SkinRect {
    int x = 1;
    int y = 1;
    int w = 1;
    int h = 1;

    // (1, 1) marks a control the skin does not use.
    bool unused() const { return x == 1 && y == 1; }
    bool operator==(const SkinRect&) const = default;
};

// The value a missing key stands for.
inline constexpr std::string_view kUnusedSkinRect = "1,1,1,1,x";

// Reads "x,y,w,h" (anything after the fourth number is ignored). Reading stops at the first
// number that is missing or malformed; that number and the ones after it keep the unused value 1.
SkinRect parse_skin_rect(std::string_view text);

// The rectangle under `key` in `section`, the unused rectangle when the key is absent.
SkinRect read_skin_rect(const IniFile& skin, std::string_view section, std::string_view key);

} // namespace tarvenor
