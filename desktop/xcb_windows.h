#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tarvenor::xcb {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

struct Disconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using Connection = std::unique_ptr<xcb_connection_t, Disconnect>;

// The atom of a name; with `only_if_exists`, none when no client has made it yet.
xcb_atom_t intern(xcb_connection_t* connection, std::string_view name, bool only_if_exists = false);

xcb_window_t root_window(xcb_connection_t* connection, int screen_number);

// A property of 32-bit items (atoms, windows, cardinals), at most `max_words` of them: a longer
// value is cut, never read past.
std::vector<std::uint32_t> property_words(xcb_connection_t* connection, xcb_window_t window,
                                          xcb_atom_t name, xcb_atom_t type,
                                          std::uint32_t max_words = 256);

// Whether the window manager lists `atom` in the root window's _NET_SUPPORTED.
bool window_manager_supports(xcb_connection_t* connection, xcb_window_t root,
                             std::string_view atom);

struct WindowClass {
    std::string instance;
    std::string window_class;
};

// WM_CLASS: the instance and the class; empty when the window has none or is gone.
WindowClass window_class(xcb_connection_t* connection, xcb_window_t window);

// The file name of a process's executable; empty when it is not ours to see or has gone.
std::string executable_of(std::uint32_t pid);

} // namespace tarvenor::xcb
