#include "app/x11_tray_watch.h"

#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <cstdlib>
#include <string>

namespace tarvenor {
namespace {

template <typename Reply> using ReplyPointer = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply> ReplyPointer<Reply> owned(Reply* reply) {
    return ReplyPointer<Reply>(reply, &std::free);
}

xcb_screen_t* screen_of(xcb_connection_t* connection, int number) {
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; screens.rem > 0; ++i, xcb_screen_next(&screens)) {
        if (i == number) {
            return screens.data;
        }
    }
    return nullptr;
}

} // namespace

X11TrayWatch::X11TrayWatch(const QByteArray& display, QObject* parent) : QObject(parent) {
    int screen = 0;
    connection_ = xcb_connect(display.constData(), &screen);
    if (xcb_connection_has_error(connection_) != 0 || !follow_selection(screen)) {
        return;
    }
    readable_ = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection_),
                                                  QSocketNotifier::Read);
    connect(readable_.get(), &QSocketNotifier::activated, this, &X11TrayWatch::read_events);
    // Events that arrived with the replies above are already queued, not on the socket.
    read_events();
}

X11TrayWatch::~X11TrayWatch() {
    readable_.reset();
    xcb_disconnect(connection_);
}

// Asks for the selection's owner changes, then reads its owner now.
bool X11TrayWatch::follow_selection(int screen_number) {
    const auto version = owned(xcb_xfixes_query_version_reply(
        connection_, xcb_xfixes_query_version(connection_, 1, 0), nullptr));
    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(connection_, &xcb_xfixes_id);
    xcb_screen_t* screen = screen_of(connection_, screen_number);
    if (!version || xfixes == nullptr || !xfixes->present || screen == nullptr) {
        return false;
    }
    selection_event_ =
        static_cast<unsigned char>(xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY);
    const std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(screen_number);
    const auto atom = owned(xcb_intern_atom_reply(
        connection_,
        xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(name.size()), name.c_str()),
        nullptr));
    if (!atom) {
        return false;
    }
    xcb_xfixes_select_selection_input(connection_, screen->root, atom->atom,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    const auto owner = owned(xcb_get_selection_owner_reply(
        connection_, xcb_get_selection_owner(connection_, atom->atom), nullptr));
    present_ = owner && owner->owner != XCB_NONE;
    return true;
}

void X11TrayWatch::read_events() {
    const bool before = present_;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        if ((event->response_type & 0x7f) == selection_event_) {
            present_ =
                reinterpret_cast<xcb_xfixes_selection_notify_event_t*>(event)->owner != XCB_NONE;
        }
        std::free(event);
    }
    if (xcb_connection_has_error(connection_) != 0) {
        // The X server went: nothing more will come from it.
        readable_->setEnabled(false);
        present_ = false;
    }
    if (present_ != before) {
        emit changed(present_);
    }
}

} // namespace tarvenor
