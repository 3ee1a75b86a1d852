#include "cli/doctor_checks.h"
#include "cli/tray_probe.h"

namespace tarvenor::cli {

// Windows gives every user access to the keyboard through its HID driver: nothing to check but
// the tray.
std::vector<DoctorCheck> check_system(const ProgramFiles&) {
    return {check_notification_area()};
}

} // namespace tarvenor::cli
