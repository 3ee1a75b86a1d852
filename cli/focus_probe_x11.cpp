#include "cli/focus_probe.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

namespace tarvenor::cli {
namespace {

constexpr const char* kName = "profiles by application";
constexpr const char* kWindowRulesFix =
    "let the desktop's own window rules run \"tarvenor-cli profile N\" (see the README)";

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// Where Qt would open the program's window: Wayland when a compositor is named and no X11
// platform is asked for.
bool runs_on_wayland() {
    const std::string platform = variable("QT_QPA_PLATFORM");
    if (!platform.empty()) {
        return platform.starts_with("wayland");
    }
    return !variable("WAYLAND_DISPLAY").empty();
}

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t* connection, std::string_view name) {
    const Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(
            connection,
            xcb_intern_atom(connection, 1, static_cast<std::uint16_t>(name.size()), name.data()),
            nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// Whether the root window's _NET_SUPPORTED lists _NET_ACTIVE_WINDOW.
bool announces_active_window(xcb_connection_t* connection, int screen_number) {
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int s = 0; s < screen_number && screens.rem > 0; ++s) {
        xcb_screen_next(&screens);
    }
    const xcb_atom_t supported = atom(connection, "_NET_SUPPORTED");
    const xcb_atom_t active = atom(connection, "_NET_ACTIVE_WINDOW");
    if (supported == XCB_ATOM_NONE || active == XCB_ATOM_NONE) {
        return false;
    }
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(
            connection,
            xcb_get_property(connection, 0, screens.data->root, supported, XCB_ATOM_ATOM, 0, 4096),
            nullptr),
        &std::free);
    if (!reply || reply->format != 32) {
        return false;
    }
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return std::find(atoms, atoms + std::max(0, count), active) != atoms + std::max(0, count);
}

struct Disconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};

} // namespace

DoctorCheck check_focus_reporting() {
    if (runs_on_wayland()) {
        return check_failed(kName, "a Wayland session: this program follows the focus on X11",
                            kWindowRulesFix);
    }
    const std::string display = variable("DISPLAY");
    if (display.empty()) {
        return {kName, DoctorCheck::State::Unknown, "no X display to ask (DISPLAY is not set)", {}};
    }
    int screen = 0;
    const std::unique_ptr<xcb_connection_t, Disconnect> connection(
        xcb_connect(display.c_str(), &screen));
    if (xcb_connection_has_error(connection.get()) != 0) {
        return {kName, DoctorCheck::State::Unknown, "cannot reach the X display " + display, {}};
    }
    if (announces_active_window(connection.get(), screen)) {
        return check_passed(kName,
                            "the window manager on " + display + " announces the active window");
    }
    return check_failed(kName,
                        "no window manager on " + display +
                            " announces the active window (_NET_ACTIVE_WINDOW)",
                        kWindowRulesFix);
}

} // namespace tarvenor::cli
