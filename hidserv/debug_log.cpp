#include "hidserv/debug_log.h"

#include <atomic>
#include <cstdio>

namespace tarvenor::hidserv {
namespace {

std::atomic<int> g_level{0};

} // namespace

int set_debug_level(int level) {
    return g_level.exchange(level);
}

bool debug_enabled(int level) {
    return level <= g_level.load();
}

void debug_line(int level, const std::string& text) {
    if (debug_enabled(level)) {
        std::fprintf(stderr, "hidserv: %s\n", text.c_str());
    }
}

std::string hex_bytes(const std::uint8_t* data, std::size_t length) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(length * 2);
    for (std::size_t i = 0; i < length; ++i) {
        text += kDigits[data[i] >> 4];
        text += kDigits[data[i] & 0x0F];
    }
    return text;
}

} // namespace tarvenor::hidserv
