#include "cli/notification_area.h"

namespace tarvenor::cli {
namespace {

constexpr const char* kNotificationArea = "notification area";

std::string status_notifier_words(const StatusNotifierFinding& finding) {
    switch (finding.state) {
    case StatusNotifierFinding::State::Host:
        return "a StatusNotifierItem host on the session bus (watcher " + finding.detail + ")";
    case StatusNotifierFinding::State::NoHost:
        return "a StatusNotifierWatcher on the session bus, but no host registered with it";
    case StatusNotifierFinding::State::NoWatcher:
        return "no StatusNotifierItem host on the session bus";
    case StatusNotifierFinding::State::NoBus:
        break;
    }
    return "no session bus to ask (" + finding.detail + ")";
}

std::string x11_words(const X11TrayFinding& finding) {
    switch (finding.state) {
    case X11TrayFinding::State::Present:
        return "an X11 tray on display " + finding.display;
    case X11TrayFinding::State::None:
        return "none on display " + finding.display;
    case X11TrayFinding::State::Unreachable:
        return "cannot reach the X display " + finding.display;
    case X11TrayFinding::State::NoDisplay:
        break;
    }
    return "no X display to ask (DISPLAY is not set)";
}

} // namespace

DoctorCheck notification_area_check(const StatusNotifierFinding& status_notifier,
                                    const X11TrayFinding& x11) {
    const std::string bus = status_notifier_words(status_notifier);
    const std::string display = x11_words(x11);
    // The toolkit prefers the StatusNotifierItem host, on X11 as on Wayland; the X11 tray serves
    // only a program running on X11.
    if (status_notifier.state == StatusNotifierFinding::State::Host) {
        return {kNotificationArea,
                DoctorCheck::State::Ok,
                "the program uses " + bus + "; " + display,
                {}};
    }
    if (x11.state == X11TrayFinding::State::Present) {
        return {kNotificationArea,
                DoctorCheck::State::Ok,
                "the program uses " + display + " when it runs on X11; " + bus,
                {}};
    }
    const std::string found = display + "; " + bus;
    const bool asked = status_notifier.state != StatusNotifierFinding::State::NoBus ||
                       x11.state == X11TrayFinding::State::None;
    if (!asked) {
        return {kNotificationArea, DoctorCheck::State::Unknown, found, {}};
    }
    return {kNotificationArea, DoctorCheck::State::Fix, found,
            "add a system tray to the panel (on GNOME: install and enable the AppIndicator "
            "extension); without one the program keeps its window open instead of hiding in the "
            "tray"};
}

} // namespace tarvenor::cli
