#include "cli/tray_probes.h"

#include "desktop/xcb_windows.h"

#include <cstdlib>
#include <memory>
#include <string>
#include <xcb/xcb.h>

namespace tarvenor::cli {
namespace {

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

X11TrayFinding probe_x11_tray() {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || display[0] == '\0') {
        return {X11TrayFinding::State::NoDisplay, {}};
    }
    int screen = 0;
    const xcb::Connection connection(xcb_connect(display, &screen));
    if (xcb_connection_has_error(connection.get()) != 0) {
        return {X11TrayFinding::State::Unreachable, display};
    }
    return {tray_owner(connection.get(), screen) != 0 ? X11TrayFinding::State::Present
                                                      : X11TrayFinding::State::None,
            display};
}

} // namespace tarvenor::cli
