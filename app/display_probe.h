#pragma once

#include <string>
#include <vector>

struct xcb_connection_t;

namespace tarvenor {

// The Qt platforms this start would try, in order: those of the -platform (or --platform)
// argument, else of QT_QPA_PLATFORM (`environment_value`, may be null), else Wayland and X11.
// Names are separated by ';'; options after a ':' are dropped.
std::vector<std::string> requested_platforms(const std::vector<std::string>& arguments,
                                             const char* environment_value);

// A display found to answer. An X server with no other client resets itself when its last client
// leaves, and a client connecting during the reset is refused: the probe's connection is therefore
// held until the toolkit has made its own.
class AvailableDisplay {
public:
    explicit AvailableDisplay(bool available, xcb_connection_t* held = nullptr);
    AvailableDisplay(AvailableDisplay&& other) noexcept;
    AvailableDisplay& operator=(AvailableDisplay&&) = delete;
    ~AvailableDisplay();

    explicit operator bool() const { return available_; }
    // Lets the probe's connection go, once the toolkit holds its own.
    void release();

private:
    bool available_ = false;
    xcb_connection_t* held_ = nullptr;
};

// Whether one of the platforms can open a window: X11 when the X server of DISPLAY answers,
// Wayland when a compositor listens on WAYLAND_DISPLAY's socket; any other platform (offscreen,
// vnc, ...) is left to Qt.
AvailableDisplay display_available(const std::vector<std::string>& platforms);

// "no display could be opened (...)", naming DISPLAY and WAYLAND_DISPLAY with their values, and
// QT_QPA_PLATFORM when it is set.
std::string no_display_message();

} // namespace tarvenor
