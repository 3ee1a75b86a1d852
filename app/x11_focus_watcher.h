#pragma once

#include "app/focus_watcher.h"

#include <QSocketNotifier>

#include <xcb/xcb.h>

#include <memory>
#include <optional>

namespace tarvenor {

// The focus on X11, as a window manager following EWMH announces it: _NET_ACTIVE_WINDOW on the
// root window changes (a PropertyNotify, read from the connection's socket when it has
// something), then the window's WM_CLASS and, where it names its process in _NET_WM_PID, that
// process's executable.
class X11FocusWatcher final : public FocusWatcher {
public:
    ~X11FocusWatcher() override;

    // Its own connection to the display; nothing, and `problem` set, when the display cannot be
    // reached or no window manager announces the active window.
    static std::unique_ptr<X11FocusWatcher> open(std::optional<OwnText>& problem);

    void start(Listener listener) override;
    std::vector<FocusedWindow> windows() const override;

private:
    struct Atoms {
        xcb_atom_t active = XCB_ATOM_NONE;
        xcb_atom_t client_list = XCB_ATOM_NONE;
        xcb_atom_t pid = XCB_ATOM_NONE;
    };

    X11FocusWatcher(xcb_connection_t* connection, xcb_window_t root, Atoms atoms);

    void read_events();
    void report_active();
    // WM_CLASS and the executable; nothing for a window of this program.
    std::optional<FocusedWindow> describe(xcb_connection_t* connection, xcb_window_t window) const;

    xcb_connection_t* connection_;
    xcb_window_t root_;
    Atoms atoms_;
    std::unique_ptr<QSocketNotifier> notifier_;
    Listener listener_;
    xcb_window_t last_ = XCB_WINDOW_NONE;
};

} // namespace tarvenor
