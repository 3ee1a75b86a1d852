#include "model/native_key_tables.h"

namespace tarvenor {
namespace {

constexpr std::uint8_t kLeftShiftScan = 0x2A;
constexpr std::uint8_t kRightShiftScan = 0x36;

// The scan code a virtual key's key sends, for keystrokes injected without one.
NativeKey native_key_of_virtual_key(std::uint8_t vk) {
    const KeyCode code = key_code_of(virtual_key_map()[vk]);
    NativeKey key = native_key_of(code);
    key.vk = vk;
    return key;
}

} // namespace

std::optional<NativeKey> native_key_from_windows(std::uint32_t vk, std::uint32_t scan,
                                                 bool extended) {
    const auto v = static_cast<std::uint8_t>(vk & 0xFF);
    const auto s = static_cast<std::uint8_t>(scan & 0xFF);
    // The shift the system sends around extended navigation keys (E0 2A, E0 36) is no keystroke.
    if (extended && (s == kLeftShiftScan || s == kRightShiftScan)) {
        return std::nullopt;
    }
    const NativeKey key = s == 0 ? native_key_of_virtual_key(v) : NativeKey{v, s, extended};
    if (key_code_from_native(key) == 0) {
        return std::nullopt;
    }
    return key;
}

} // namespace tarvenor
