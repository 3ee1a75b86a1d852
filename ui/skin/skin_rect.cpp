#include "ui/skin/skin_rect.h"

#include <array>
#include <charconv>

namespace tarvenor {

namespace {

// Mirrors "%d": optional blanks, an optional sign, then at least one digit.
bool read_int(std::string_view& text, int& out) {
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) {
        ++pos;
    }
    if (pos < text.size() && text[pos] == '+') {
        ++pos;
    }
    const char* first = text.data() + pos;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, out);
    if (error != std::errc{}) {
        return false;
    }
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return true;
}

} // namespace

SkinRect parse_skin_rect(std::string_view text) {
    std::array<int, 4> values{1, 1, 1, 1};
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) {
            if (text.empty() || text.front() != ',') {
                break;
            }
            text.remove_prefix(1);
        }
        if (!read_int(text, values[i])) {
            break;
        }
    }
    return {values[0], values[1], values[2], values[3]};
}

SkinRect read_skin_rect(const IniFile& skin, std::string_view section, std::string_view key) {
    return parse_skin_rect(skin.get(section, key, kUnusedSkinRect));
}

} // namespace tarvenor
