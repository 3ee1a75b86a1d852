#include "app/x11_focus_watcher.h"

#include "desktop/xcb_windows.h"
#include "ui/logic/focus_texts.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

namespace tarvenor {

X11FocusWatcher::X11FocusWatcher(xcb_connection_t* connection, xcb_window_t root, Atoms atoms)
    : connection_(connection), root_(root), atoms_(atoms) {}

X11FocusWatcher::~X11FocusWatcher() {
    notifier_.reset();
    xcb_disconnect(connection_);
}

std::unique_ptr<X11FocusWatcher> X11FocusWatcher::open(std::optional<OwnText>& problem) {
    int screen_number = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screen_number);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        problem = focus_text::kNoDisplay;
        return nullptr;
    }
    const xcb_window_t root = xcb::root_window(connection, screen_number);
    const Atoms atoms{xcb::intern(connection, "_NET_ACTIVE_WINDOW"),
                      xcb::intern(connection, "_NET_CLIENT_LIST"),
                      xcb::intern(connection, "_NET_WM_PID")};
    std::unique_ptr<X11FocusWatcher> watcher(new X11FocusWatcher(connection, root, atoms));
    if (!xcb::window_manager_supports(connection, root, "_NET_ACTIVE_WINDOW")) {
        problem = focus_text::kNoActiveWindow;
        return nullptr;
    }
    return watcher;
}

void X11FocusWatcher::start(Listener listener) {
    listener_ = std::move(listener);
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection_);
    notifier_ = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection_),
                                                  QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this] { read_events(); });
    report_active();
    read_events();
}

// The replies report_active() waits for may bring further events into the connection's queue,
// where the socket will never announce them: the queue is read again after each report, until a
// reading finds no change of the active window.
void X11FocusWatcher::read_events() {
    for (bool active_changed = true; active_changed;) {
        active_changed = false;
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            if ((event->response_type & 0x7F) == XCB_PROPERTY_NOTIFY) {
                const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event);
                active_changed |= notify->window == root_ && notify->atom == atoms_.active;
            }
            std::free(event);
        }
        if (active_changed) {
            report_active();
        }
    }
    if (xcb_connection_has_error(connection_) != 0) {
        // The display went away: the program ends with it, nothing more to read.
        notifier_->setEnabled(false);
    }
}

void X11FocusWatcher::report_active() {
    const std::vector<std::uint32_t> active =
        xcb::property_words(connection_, root_, atoms_.active, XCB_ATOM_WINDOW);
    const xcb_window_t window = active.empty() ? xcb_window_t{XCB_WINDOW_NONE} : active.front();
    // The desktop itself, or the same window announced again: nothing moved.
    if (window == XCB_WINDOW_NONE || window == last_) {
        return;
    }
    last_ = window;
    if (const std::optional<FocusedWindow> focused = describe(connection_, window);
        focused && listener_) {
        listener_(*focused);
    }
}

std::optional<FocusedWindow> X11FocusWatcher::describe(xcb_connection_t* connection,
                                                       xcb_window_t window) const {
    const std::vector<std::uint32_t> pid =
        xcb::property_words(connection, window, atoms_.pid, XCB_ATOM_CARDINAL);
    if (!pid.empty() && pid.front() == static_cast<std::uint32_t>(::getpid())) {
        return std::nullopt;
    }
    xcb::WindowClass names = xcb::window_class(connection, window);
    FocusedWindow focused;
    focused.instance = std::move(names.instance);
    focused.window_class = std::move(names.window_class);
    if (!pid.empty()) {
        focused.executable = xcb::executable_of(pid.front());
    }
    // A window gone before it could be asked (a dialog that just closed) names nothing: it is no
    // application of its own, least of all one for the default profile.
    if (focused.names().empty()) {
        return std::nullopt;
    }
    return focused;
}

// Asked on a connection of its own: replies awaited on the watching connection would take its
// events off the socket unannounced.
std::vector<FocusedWindow> X11FocusWatcher::windows() const {
    std::vector<FocusedWindow> windows;
    const xcb::Connection connection(xcb_connect(nullptr, nullptr));
    if (xcb_connection_has_error(connection.get()) != 0) {
        return windows;
    }
    for (const std::uint32_t window :
         xcb::property_words(connection.get(), root_, atoms_.client_list, XCB_ATOM_WINDOW)) {
        if (std::optional<FocusedWindow> described = describe(connection.get(), window);
            described && std::ranges::find(windows, *described) == windows.end()) {
            windows.push_back(std::move(*described));
        }
    }
    return windows;
}

} // namespace tarvenor
