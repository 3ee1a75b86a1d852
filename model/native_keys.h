#pragma once

#include "model/key_codes.h"

#include <cstdint>
#include <optional>

namespace tarvenor {

// A keystroke as the desktop platform of the original program names it: virtual key, set 1
// scan code (without the E0 prefix) and the extended flag that stands for the prefix.
struct NativeKey {
    std::uint8_t vk = 0;
    std::uint8_t scan = 0;
    bool extended = false;

    friend bool operator==(const NativeKey&, const NativeKey&) = default;
};

// The key an evdev key code names (Linux; X11 delivers it as its key code minus 8, Wayland as
// is). Nothing for codes no key of the keyboard produces.
std::optional<NativeKey> native_key_from_evdev(int evdev_code);
// The same, knowing whether Ctrl is down: Ctrl+Pause is the Break key, which the kernel reports
// as Pause.
std::optional<NativeKey> native_key_from_evdev(int evdev_code, bool control_down);
// The key an X11 key code names (the evdev code plus 8; Qt reports it as the native scan code on
// X11 and on Wayland).
inline std::optional<NativeKey> native_key_from_xkb_keycode(int keycode,
                                                            bool control_down = false) {
    return native_key_from_evdev(keycode - 8, control_down);
}
// The key a Windows key message names. Keys that arrive without a scan code (injected input)
// get the scan code of their virtual key; nothing for a virtual key no key produces.
std::optional<NativeKey> native_key_from_windows(std::uint32_t vk, std::uint32_t scan,
                                                 bool extended);
KeyCode key_code_from_native(const NativeKey& key);

} // namespace tarvenor
