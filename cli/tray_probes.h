#pragma once

#include "cli/notification_area.h"

namespace tarvenor::cli {

// Asks the session bus (DBUS_SESSION_BUS_ADDRESS, else the user's bus in XDG_RUNTIME_DIR; never
// one started for the occasion) whether a StatusNotifierWatcher runs with a host registered.
StatusNotifierFinding probe_status_notifier();

// Asks the X server of DISPLAY whether some client owns its screen's _NET_SYSTEM_TRAY_S<n>
// selection.
X11TrayFinding probe_x11_tray();

} // namespace tarvenor::cli
