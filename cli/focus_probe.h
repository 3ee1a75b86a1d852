#pragma once

#include "cli/doctor_checks.h"

namespace tarvenor::cli {

// Whether the program can follow the application in front on this desktop: on X11, whether the
// window manager announces _NET_ACTIVE_WINDOW (unknown without a display to ask); a Wayland
// session is told that the desktop's own window rules must switch the profile.
DoctorCheck check_focus_reporting();

} // namespace tarvenor::cli
