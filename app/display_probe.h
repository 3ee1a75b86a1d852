#pragma once

#include <string>
#include <vector>

namespace tarvenor {

// The Qt platforms this start would try, in order: those of the -platform (or --platform)
// argument, else of QT_QPA_PLATFORM (`environment_value`, may be null), else Wayland and X11.
// Names are separated by ';'; options after a ':' are dropped.
std::vector<std::string> requested_platforms(const std::vector<std::string>& arguments,
                                             const char* environment_value);

// Whether one of the platforms can open a window: X11 when the X server of DISPLAY answers,
// Wayland when a compositor listens on WAYLAND_DISPLAY's socket; any other platform (offscreen,
// vnc, ...) is left to Qt.
bool display_available(const std::vector<std::string>& platforms);

// "no display could be opened (...)", naming DISPLAY and WAYLAND_DISPLAY with their values, and
// QT_QPA_PLATFORM when it is set.
std::string no_display_message();

} // namespace tarvenor
