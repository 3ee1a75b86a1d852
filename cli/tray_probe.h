#pragma once

#include "cli/doctor_checks.h"

namespace tarvenor::cli {

// Whether the desktop shows a notification area for the program's icon: on X11, whether some
// client owns the _NET_SYSTEM_TRAY_S<screen> selection (unknown without a display to ask); on
// Windows, whether the taskbar is there.
DoctorCheck check_notification_area();

} // namespace tarvenor::cli
