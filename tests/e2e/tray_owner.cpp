// tray_owner: a stand-in notification area for the tests. Takes the X tray selection of the screen
// DISPLAY names, prints "owner" once it holds it, and keeps it until its standard input closes or
// it is killed.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

struct ConnectionCloser {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using Connection = std::unique_ptr<xcb_connection_t, ConnectionCloser>;

template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_screen_t* nth_screen(xcb_connection_t* connection, int number) {
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (; it.rem > 0; xcb_screen_next(&it), --number) {
        if (number == 0) {
            return it.data;
        }
    }
    return nullptr;
}

xcb_atom_t tray_selection(xcb_connection_t* connection, int screen) {
    const std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(screen);
    const ReplyPtr<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(
            connection,
            xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.c_str()),
            nullptr),
        &std::free);
    return atom ? atom->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// Whether WINDOW now owns SELECTION: the answer also proves the server has taken the request.
bool owns(xcb_connection_t* connection, xcb_atom_t selection, xcb_window_t window) {
    const ReplyPtr<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection),
                                      nullptr),
        &std::free);
    return owner && owner->owner == window;
}

int fail(const char* why) {
    std::fprintf(stderr, "tray_owner: %s\n", why);
    return 2;
}

} // namespace

int main() {
    int screen_number = 0;
    const Connection connection(xcb_connect(nullptr, &screen_number));
    if (xcb_connection_has_error(connection.get()) != 0) {
        return fail("cannot reach the X display");
    }
    xcb_screen_t* screen = nth_screen(connection.get(), screen_number);
    const xcb_atom_t selection = tray_selection(connection.get(), screen_number);
    if (screen == nullptr || selection == XCB_ATOM_NONE) {
        return fail("no such screen");
    }
    const xcb_window_t window = xcb_generate_id(connection.get());
    xcb_create_window(connection.get(), XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_set_selection_owner(connection.get(), window, selection, XCB_CURRENT_TIME);
    if (!owns(connection.get(), selection, window)) {
        return fail("another client holds the tray selection");
    }
    std::puts("owner");
    std::fflush(stdout);
    char buffer[64];
    while (::read(STDIN_FILENO, buffer, sizeof buffer) > 0) {
    }
    return 0;
}
