#pragma once

#include "cli/doctor_checks.h"

namespace tarvenor::cli {

// Whether the program can follow the application in front on this desktop: on X11, whether the
// window manager announces _NET_ACTIVE_WINDOW; on Wayland, whether the compositor offers the
// wlr foreign-toplevel manager (unknown without a display or compositor to ask).
DoctorCheck check_focus_reporting();

} // namespace tarvenor::cli
