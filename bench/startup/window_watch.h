#pragma once

#include "child_process.h"

#include <xcb/xcb.h>

#include <chrono>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace bench {

// Watches the top-level windows of one X display from outside the programs: which are created,
// docked into the notification area, hidden, and when each is first drawn after it was mapped.
// "Drawn" is the first damage (Xdamage) to the mapped window: the moment its program has put its
// first picture on the screen, not merely asked for the window to be mapped.
class WindowWatch {
public:
    explicit WindowWatch(const std::string& display);
    ~WindowWatch();
    WindowWatch(const WindowWatch&) = delete;
    WindowWatch& operator=(const WindowWatch&) = delete;

    // Waits for a notification area (the owner of _NET_SYSTEM_TRAY_S0).
    bool wait_for_tray(std::chrono::milliseconds limit);
    // Waits for a window of `width` x `height` to be drawn while mapped; when it was, and the
    // window. Forgets earlier drawings.
    std::optional<std::pair<Clock::time_point, xcb_window_t>>
    wait_for_drawn(int width, int height, std::chrono::milliseconds limit);
    // Waits for a window to be docked into the notification area.
    bool wait_for_docked(std::chrono::milliseconds limit);
    // Asks the window to close, as a window manager's close button does (WM_DELETE_WINDOW), and
    // waits for it to be unmapped.
    bool close_and_wait(xcb_window_t window, std::chrono::milliseconds limit);

private:
    // Handles the events that come within `limit`, until `done` holds.
    template <typename Done> bool pump(std::chrono::milliseconds limit, Done done);
    void handle(xcb_generic_event_t& event);
    bool tray_owned();
    xcb_atom_t atom(const std::string& name);
    bool has_size(xcb_window_t window, int width, int height);

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = 0;
    std::uint8_t damage_event_ = 0;
    std::set<xcb_window_t> top_level_;
    // Windows drawn since the last wait_for_drawn, with the moment their damage arrived.
    std::map<xcb_window_t, Clock::time_point> drawn_;
    std::set<xcb_window_t> unmapped_;
    bool docked_ = false;
};

} // namespace bench
