#include "app/x11_focus_watcher.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace tarvenor {
namespace {

template <typename T> using XcbReply = std::unique_ptr<T, decltype(&std::free)>;

// WM_CLASS and _NET_WM_PID are short; a longer value is cut, never read past.
constexpr std::uint32_t kMaxPropertyWords = 256;

xcb_atom_t intern(xcb_connection_t* connection, std::string_view name) {
    const XcbReply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(
            connection,
            xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.data()),
            nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

XcbReply<xcb_get_property_reply_t> property(xcb_connection_t* connection, xcb_window_t window,
                                            xcb_atom_t name, xcb_atom_t type) {
    return {xcb_get_property_reply(
                connection,
                xcb_get_property(connection, 0, window, name, type, 0, kMaxPropertyWords), nullptr),
            &std::free};
}

// The file name of a process's executable; empty when it is not ours to see or has gone.
std::string executable_of(std::uint32_t pid) {
    std::error_code error;
    const std::filesystem::path target =
        std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", error);
    return error ? std::string() : target.filename().string();
}

// WM_CLASS: the instance and the class, each ended by a zero byte (the last one may lack it).
void read_class(const xcb_get_property_reply_t* reply, FocusedWindow& window) {
    if (reply == nullptr || reply->format != 8) {
        return;
    }
    const auto* bytes = static_cast<const char*>(xcb_get_property_value(reply));
    const std::string_view value(
        bytes, static_cast<std::size_t>(std::max(0, xcb_get_property_value_length(reply))));
    const std::size_t end = value.find('\0');
    window.instance = std::string(value.substr(0, end));
    if (end != std::string_view::npos) {
        const std::string_view rest = value.substr(end + 1);
        window.window_class = std::string(rest.substr(0, rest.find('\0')));
    }
}

} // namespace

X11FocusWatcher::X11FocusWatcher(xcb_connection_t* connection, xcb_window_t root, Atoms atoms)
    : connection_(connection), root_(root), atoms_(atoms) {}

X11FocusWatcher::~X11FocusWatcher() {
    notifier_.reset();
    xcb_disconnect(connection_);
}

std::unique_ptr<X11FocusWatcher> X11FocusWatcher::open(std::string& problem) {
    int screen_number = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screen_number);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        problem = "the X display cannot be reached";
        return nullptr;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int s = 0; s < screen_number && screens.rem > 0; ++s) {
        xcb_screen_next(&screens);
    }
    const Atoms atoms{intern(connection, "_NET_ACTIVE_WINDOW"),
                      intern(connection, "_NET_SUPPORTED"), intern(connection, "_NET_CLIENT_LIST"),
                      intern(connection, "_NET_WM_PID")};
    std::unique_ptr<X11FocusWatcher> watcher(
        new X11FocusWatcher(connection, screens.data->root, atoms));
    const std::vector<std::uint32_t> supported =
        watcher->property_words(watcher->root_, atoms.supported, XCB_ATOM_ATOM);
    if (std::ranges::find(supported, atoms.active) == supported.end()) {
        problem = "the window manager does not announce the active window (_NET_ACTIVE_WINDOW)";
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
}

// Replies awaited while an event is handled may bring further events into the connection's
// queue: they are taken here too, since the socket will not wake us for them again.
void X11FocusWatcher::read_events() {
    bool active_changed = false;
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
    if (xcb_connection_has_error(connection_) != 0) {
        // The display went away: the program ends with it, nothing more to read.
        notifier_->setEnabled(false);
    }
}

void X11FocusWatcher::report_active() {
    const std::vector<std::uint32_t> active = property_words(root_, atoms_.active, XCB_ATOM_WINDOW);
    const xcb_window_t window = active.empty() ? xcb_window_t{XCB_WINDOW_NONE} : active.front();
    // The desktop itself, or the same window announced again: nothing moved.
    if (window == XCB_WINDOW_NONE || window == last_) {
        return;
    }
    last_ = window;
    if (const std::optional<FocusedWindow> focused = describe(window); focused && listener_) {
        listener_(*focused);
    }
}

std::vector<std::uint32_t> X11FocusWatcher::property_words(xcb_window_t window, xcb_atom_t name,
                                                           xcb_atom_t type) const {
    const XcbReply<xcb_get_property_reply_t> reply = property(connection_, window, name, type);
    if (!reply || reply->format != 32) {
        return {};
    }
    const auto* words = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return {words, words + std::max(0, count)};
}

std::optional<FocusedWindow> X11FocusWatcher::describe(xcb_window_t window) const {
    const std::vector<std::uint32_t> pid = property_words(window, atoms_.pid, XCB_ATOM_CARDINAL);
    if (!pid.empty() && pid.front() == static_cast<std::uint32_t>(::getpid())) {
        return std::nullopt;
    }
    FocusedWindow focused;
    read_class(property(connection_, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING).get(), focused);
    if (!pid.empty()) {
        focused.executable = executable_of(pid.front());
    }
    // A window gone before it could be asked (a dialog that just closed) names nothing: it is no
    // application of its own, least of all one for the default profile.
    if (focused.names().empty()) {
        return std::nullopt;
    }
    return focused;
}

std::vector<FocusedWindow> X11FocusWatcher::windows() const {
    std::vector<FocusedWindow> windows;
    for (const std::uint32_t window : property_words(root_, atoms_.client_list, XCB_ATOM_WINDOW)) {
        if (std::optional<FocusedWindow> described = describe(window);
            described && std::ranges::find(windows, *described) == windows.end()) {
            windows.push_back(std::move(*described));
        }
    }
    return windows;
}

} // namespace tarvenor
