// Input for the end-to-end tests under a Wayland compositor that has no devices of its own
// (headless sway): a pointer through the wlroots virtual-pointer protocol and a keyboard through
// the virtual-keyboard protocol. The keyboard carries the standard evdev keymap, so that each key
// arrives with the key code a real keyboard's key has (a keymap numbered in the order the keys
// are typed, as wtype makes, would not tell the program which key was pressed).
// The devices live as long as the program, so that clients keep their pointer and keyboard
// between steps (a device made for each step would reach no client: the seat would gain it only
// as its events go out).
// Usage: wayland_input WIDTH HEIGHT, then one step a line on standard input:
//   move X Y      puts the pointer at X,Y (in an output layout WIDTH x HEIGHT)
//   click         presses and releases the left button where the pointer is
//   right         the same with the right button
//   double        two left clicks in quick succession
//   key NAME      presses and releases a key (a..z, space, Return, Escape, Tab)
//   press NAME    presses a key and keeps it down
//   release NAME  releases it
// "ready" says the devices are there; each line is answered, once the compositor has handled it,
// with "ok" or "failed: WHY".
// Exit code 0 at the end of the input, 1 when the compositor or a protocol is missing.
#include "virtual-keyboard-client.h"
#include "virtual-pointer-client.h"

#include <wayland-client.h>

#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <initializer_list>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

namespace {

// US layout with evdev key codes; the compositor resolves the includes.
constexpr const char* kKeymap = "xkb_keymap {\n"
                                "  xkb_keycodes { include \"evdev+aliases(qwerty)\" };\n"
                                "  xkb_types { include \"complete\" };\n"
                                "  xkb_compat { include \"complete\" };\n"
                                "  xkb_symbols { include \"pc+us+inet(evdev)\" };\n"
                                "};\n";

struct Globals {
    wl_seat* seat = nullptr;
    zwlr_virtual_pointer_manager_v1* pointers = nullptr;
    zwp_virtual_keyboard_manager_v1* keyboards = nullptr;
};

void on_global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
               std::uint32_t) {
    auto* globals = static_cast<Globals*>(data);
    const auto bind = [registry, name](const wl_interface& wanted) {
        return wl_registry_bind(registry, name, &wanted, 1);
    };
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && globals->seat == nullptr) {
        globals->seat = static_cast<wl_seat*>(bind(wl_seat_interface));
    } else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        globals->pointers = static_cast<zwlr_virtual_pointer_manager_v1*>(
            bind(zwlr_virtual_pointer_manager_v1_interface));
    } else if (std::strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0) {
        globals->keyboards = static_cast<zwp_virtual_keyboard_manager_v1*>(
            bind(zwp_virtual_keyboard_manager_v1_interface));
    }
}

void on_global_remove(void*, wl_registry*, std::uint32_t) {}

constexpr wl_registry_listener kRegistryListener{on_global, on_global_remove};

std::uint32_t now_ms() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

int key_code(const std::string& name) {
    static const std::map<std::string, int> kNamed{
        {"space", KEY_SPACE}, {"Return", KEY_ENTER}, {"Escape", KEY_ESC}, {"Tab", KEY_TAB}};
    static constexpr int kLetters[26] = {
        KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I, KEY_J, KEY_K, KEY_L, KEY_M,
        KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R, KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X, KEY_Y, KEY_Z};
    if (name.size() == 1 && name[0] >= 'a' && name[0] <= 'z') {
        return kLetters[name[0] - 'a'];
    }
    const auto named = kNamed.find(name);
    return named != kNamed.end() ? named->second : 0;
}

bool parse_number(const std::string& text, std::uint32_t& value) {
    char* end = nullptr;
    const unsigned long parsed = std::strtoul(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != '\0' || parsed > 100000) {
        return false;
    }
    value = static_cast<std::uint32_t>(parsed);
    return true;
}

// A pointer and a keyboard of the seat.
class Devices {
public:
    Devices(const Globals& globals, std::uint32_t width, std::uint32_t height)
        : width_(width), height_(height) {
        if (globals.pointers != nullptr) {
            pointer_ = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(globals.pointers,
                                                                              globals.seat);
        }
        if (globals.keyboards != nullptr && globals.seat != nullptr) {
            keyboard_ = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(globals.keyboards,
                                                                                globals.seat);
            upload_keymap();
        }
    }
    bool ready() const { return pointer_ != nullptr && keyboard_ != nullptr; }
    Devices(const Devices&) = delete;
    Devices& operator=(const Devices&) = delete;
    ~Devices() {
        if (pointer_ != nullptr) {
            zwlr_virtual_pointer_v1_destroy(pointer_);
        }
        if (keyboard_ != nullptr) {
            zwp_virtual_keyboard_v1_destroy(keyboard_);
        }
    }

    bool move(std::uint32_t x, std::uint32_t y) {
        if (x >= width_ || y >= height_) {
            return false;
        }
        zwlr_virtual_pointer_v1_motion_absolute(pointer_, now_ms(), x, y, width_, height_);
        zwlr_virtual_pointer_v1_frame(pointer_);
        return true;
    }

    void click(std::uint32_t button) {
        for (const auto state :
             {WL_POINTER_BUTTON_STATE_PRESSED, WL_POINTER_BUTTON_STATE_RELEASED}) {
            zwlr_virtual_pointer_v1_button(pointer_, now_ms(), button, state);
            zwlr_virtual_pointer_v1_frame(pointer_);
        }
    }

    // Sends the key's changes of state, in order; false for a key without a code.
    bool key(int code, std::initializer_list<wl_keyboard_key_state> states) {
        if (code == 0) {
            return false;
        }
        for (const auto state : states) {
            zwp_virtual_keyboard_v1_key(keyboard_, now_ms(), static_cast<std::uint32_t>(code),
                                        state);
        }
        return true;
    }

private:
    void upload_keymap() {
        const std::size_t size = std::strlen(kKeymap) + 1;
        const int file = memfd_create("keymap", MFD_CLOEXEC);
        if (file >= 0 && write(file, kKeymap, size) == static_cast<ssize_t>(size)) {
            zwp_virtual_keyboard_v1_keymap(keyboard_, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, file,
                                           static_cast<std::uint32_t>(size));
        }
        if (file >= 0) {
            close(file);
        }
    }

    std::uint32_t width_;
    std::uint32_t height_;
    zwlr_virtual_pointer_v1* pointer_ = nullptr;
    zwp_virtual_keyboard_v1* keyboard_ = nullptr;
};

// Sends one line's step; false when it cannot be taken.
bool run_step(Devices& devices, const std::string& line) {
    std::istringstream words(line);
    std::string step;
    words >> step;
    if (step == "move") {
        std::string x_text;
        std::string y_text;
        std::uint32_t x = 0;
        std::uint32_t y = 0;
        return words >> x_text >> y_text && parse_number(x_text, x) && parse_number(y_text, y) &&
               devices.move(x, y);
    }
    if (step == "click" || step == "double") {
        devices.click(BTN_LEFT);
        if (step == "double") {
            devices.click(BTN_LEFT);
        }
        return true;
    }
    if (step == "right") {
        devices.click(BTN_RIGHT);
        return true;
    }
    std::string name;
    if (!(words >> name)) {
        return false;
    }
    const int code = key_code(name);
    if (step == "key") {
        return devices.key(code, {WL_KEYBOARD_KEY_STATE_PRESSED, WL_KEYBOARD_KEY_STATE_RELEASED});
    }
    if (step == "press") {
        return devices.key(code, {WL_KEYBOARD_KEY_STATE_PRESSED});
    }
    return step == "release" && devices.key(code, {WL_KEYBOARD_KEY_STATE_RELEASED});
}

} // namespace

int main(int argc, char** argv) {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (argc < 3 || !parse_number(argv[1], width) || !parse_number(argv[2], height) || width == 0 ||
        height == 0) {
        std::fputs("usage: wayland_input WIDTH HEIGHT [move X Y | click | right | double | "
                   "key NAME]...\n",
                   stderr);
        return 1;
    }
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        std::fputs("wayland_input: no Wayland compositor\n", stderr);
        return 1;
    }
    Globals globals;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, &globals);
    wl_display_roundtrip(display);
    Devices devices(globals, width, height);
    if (!devices.ready()) {
        std::fputs("wayland_input: the compositor offers no virtual pointer or keyboard\n", stderr);
        wl_display_disconnect(display);
        return 1;
    }
    // The seat has the devices before any client is told a step: a step sent while a client
    // has not yet got its pointer would never reach it.
    if (wl_display_roundtrip(display) < 0) {
        std::fputs("wayland_input: the compositor went away\n", stderr);
        return 1;
    }
    std::cout << "ready" << std::endl;
    for (std::string line; std::getline(std::cin, line);) {
        const bool sent = run_step(devices, line);
        // The round trip makes sure the compositor has handled the step before we answer.
        if (wl_display_roundtrip(display) < 0) {
            std::cout << "failed: the compositor went away" << std::endl;
            return 1;
        }
        std::cout << (sent ? "ok" : "failed: cannot take '" + line + "'") << std::endl;
    }
    return 0;
}
