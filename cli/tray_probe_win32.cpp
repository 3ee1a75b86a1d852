#include "cli/tray_probe.h"

#include <windows.h>

namespace tarvenor::cli {

DoctorCheck check_notification_area() {
    constexpr const char* kName = "notification area";
    // The taskbar's window holds the notification area; without a shell running there is none.
    if (::FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr) {
        return check_passed(kName, "the taskbar is there");
    }
    return check_failed(kName, "no taskbar (no shell is running)",
                        "start the desktop shell (explorer.exe); without a notification area the "
                        "program keeps its window open instead of hiding in the tray");
}

} // namespace tarvenor::cli
