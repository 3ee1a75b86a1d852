#pragma once

#include "cli/doctor_checks.h"

namespace tarvenor::cli {

// Whether the desktop shows a notification area for the program's icon: on Windows, whether the
// taskbar is there (Linux builds the line from cli/tray_probes.h).
DoctorCheck check_notification_area();

} // namespace tarvenor::cli
