#pragma once

#include <string>
#include <string_view>

namespace tarvenor {

// Texts that reach files or the keyboard are UTF-16 code units; everything shown or read from
// INI files travels as UTF-8. Invalid input is replaced by U+FFFD rather than rejected.
std::u16string utf8_to_utf16(std::string_view utf8);
std::string utf16_to_utf8(std::u16string_view utf16);

// Cuts a UTF-8 text to at most max_units UTF-16 code units without splitting a character.
std::string truncate_utf16_units(std::string_view utf8, std::size_t max_units);

} // namespace tarvenor
