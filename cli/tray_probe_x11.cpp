#include "cli/tray_probe.h"

#include <cstdlib>
#include <memory>
#include <string>
#include <xcb/xcb.h>

namespace tarvenor::cli {
namespace {

constexpr const char* kName = "notification area";

DoctorCheck unknown(std::string why) {
    return {kName, DoctorCheck::State::Unknown, std::move(why), {}};
}

struct ConnectionCloser {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};

// The window owning the tray selection of the screen, 0 when there is none or the X server did
// not answer.
xcb_window_t tray_owner(xcb_connection_t* connection, int screen) {
    const std::string selection = "_NET_SYSTEM_TRAY_S" + std::to_string(screen);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(connection,
                              xcb_intern_atom(connection, 0,
                                              static_cast<std::uint16_t>(selection.size()),
                                              selection.c_str()),
                              nullptr),
        &std::free);
    if (!atom) {
        return 0;
    }
    std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom),
                                      nullptr),
        &std::free);
    return owner ? owner->owner : 0;
}

} // namespace

DoctorCheck check_notification_area() {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || display[0] == '\0') {
        return unknown("no X display to ask (DISPLAY is not set)");
    }
    int screen = 0;
    const std::unique_ptr<xcb_connection_t, ConnectionCloser> connection(
        xcb_connect(display, &screen));
    if (xcb_connection_has_error(connection.get()) != 0) {
        return unknown(std::string("cannot reach the X display ") + display);
    }
    if (tray_owner(connection.get(), screen) != 0) {
        return check_passed(kName, std::string("present on display ") + display);
    }
    return check_failed(kName, std::string("none on display ") + display,
                        "add a system tray to the panel (or enable the desktop's tray extension); "
                        "without one the program keeps its window open instead of hiding in the "
                        "tray");
}

} // namespace tarvenor::cli
