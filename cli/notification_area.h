#pragma once

#include "cli/doctor_checks.h"

#include <string>

namespace tarvenor::cli {

// What the session bus says about a StatusNotifierItem host (the tray of swaybar, KDE Plasma,
// GNOME with the AppIndicator extension).
struct StatusNotifierFinding {
    enum class State { NoBus, NoWatcher, NoHost, Host };
    State state = State::NoBus;
    std::string detail; // why there is no bus, or the watcher's owner
};

// What the X server of DISPLAY says about an XEmbed tray manager on its screen.
struct X11TrayFinding {
    enum class State { NoDisplay, Unreachable, None, Present };
    State state = State::NoDisplay;
    std::string display;
};

// The doctor's "notification area" line from both findings: which of them the program will use,
// or the fix when neither offers a tray; unknown when there was nothing to ask.
DoctorCheck notification_area_check(const StatusNotifierFinding& status_notifier,
                                    const X11TrayFinding& x11);

} // namespace tarvenor::cli
