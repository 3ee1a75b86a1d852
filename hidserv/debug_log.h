#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tarvenor::hidserv {

// The library's diagnostics on standard error, switched by Debug(level).
int set_debug_level(int level); // returns the previous level
bool debug_enabled(int level);
void debug_line(int level, const std::string& text);
std::string hex_bytes(const std::uint8_t* data, std::size_t length);

} // namespace tarvenor::hidserv
