#include "cli/focus_probe.h"

#include "desktop/xcb_windows.h"
#ifdef TARVENOR_WAYLAND_FOCUS
#include "desktop/foreign_toplevels.h"
#endif

#include <cstdlib>
#include <memory>
#include <string>

namespace tarvenor::cli {
namespace {

constexpr const char* kFocusCheck = "profiles by application";
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

// The compositor's foreign-toplevel manager, asked on a connection of our own.
DoctorCheck check_wayland() {
    const std::string socket = variable("WAYLAND_DISPLAY");
#ifdef TARVENOR_WAYLAND_FOCUS
    if (socket.empty()) {
        return {kFocusCheck,
                DoctorCheck::State::Unknown,
                "no Wayland compositor to ask (WAYLAND_DISPLAY is not set)",
                {}};
    }
    ForeignToplevels::Failure failure{};
    if (ForeignToplevels::connect(failure)) {
        return check_passed(kFocusCheck,
                            "the compositor on " + socket +
                                " announces the activated window (wlr foreign-toplevel)");
    }
    return check_failed(kFocusCheck, ForeignToplevels::describe(failure) + " on " + socket,
                        kWindowRulesFix);
#else
    return check_failed(kFocusCheck,
                        "a Wayland session (" + socket +
                            "): this build follows the focus on X11 only (built without "
                            "wayland-client)",
                        kWindowRulesFix);
#endif
}

} // namespace

DoctorCheck check_focus_reporting() {
    if (runs_on_wayland()) {
        return check_wayland();
    }
    const std::string display = variable("DISPLAY");
    if (display.empty()) {
        return {kFocusCheck,
                DoctorCheck::State::Unknown,
                "no X display to ask (DISPLAY is not set)",
                {}};
    }
    int screen = 0;
    const xcb::Connection connection(xcb_connect(display.c_str(), &screen));
    if (xcb_connection_has_error(connection.get()) != 0) {
        return {
            kFocusCheck, DoctorCheck::State::Unknown, "cannot reach the X display " + display, {}};
    }
    if (xcb::window_manager_supports(connection.get(), xcb::root_window(connection.get(), screen),
                                     "_NET_ACTIVE_WINDOW")) {
        return check_passed(kFocusCheck,
                            "the window manager on " + display + " announces the active window");
    }
    return check_failed(kFocusCheck,
                        "no window manager on " + display +
                            " announces the active window (_NET_ACTIVE_WINDOW)",
                        kWindowRulesFix);
}

} // namespace tarvenor::cli
