#include "desktop/xcb_windows.h"

#include <algorithm>
#include <filesystem>

namespace tarvenor::xcb {
namespace {

// _NET_SUPPORTED of a full EWMH window manager lists a few hundred atoms.
constexpr std::uint32_t kMaxSupportedWords = 4096;

Reply<xcb_get_property_reply_t> property(xcb_connection_t* connection, xcb_window_t window,
                                         xcb_atom_t name, xcb_atom_t type,
                                         std::uint32_t max_words) {
    return {
        xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, window, name, type, 0, max_words), nullptr),
        &std::free};
}

} // namespace

xcb_atom_t intern(xcb_connection_t* connection, std::string_view name, bool only_if_exists) {
    const Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection,
                              xcb_intern_atom(connection, only_if_exists ? 1 : 0,
                                              static_cast<std::uint16_t>(name.size()), name.data()),
                              nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

xcb_window_t root_window(xcb_connection_t* connection, int screen_number) {
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int s = 0; s < screen_number && screens.rem > 1; ++s) {
        xcb_screen_next(&screens);
    }
    return screens.rem > 0 ? screens.data->root : xcb_window_t{XCB_WINDOW_NONE};
}

std::vector<std::uint32_t> property_words(xcb_connection_t* connection, xcb_window_t window,
                                          xcb_atom_t name, xcb_atom_t type,
                                          std::uint32_t max_words) {
    const Reply<xcb_get_property_reply_t> reply =
        property(connection, window, name, type, max_words);
    if (!reply || reply->format != 32) {
        return {};
    }
    const auto* words = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return {words, words + std::max(0, count)};
}

bool window_manager_supports(xcb_connection_t* connection, xcb_window_t root,
                             std::string_view atom) {
    const xcb_atom_t supported = intern(connection, "_NET_SUPPORTED", true);
    const xcb_atom_t wanted = intern(connection, atom, true);
    if (supported == XCB_ATOM_NONE || wanted == XCB_ATOM_NONE) {
        return false;
    }
    const std::vector<std::uint32_t> atoms =
        property_words(connection, root, supported, XCB_ATOM_ATOM, kMaxSupportedWords);
    return std::ranges::find(atoms, wanted) != atoms.end();
}

// The instance and the class, each ended by a zero byte (the last one may lack it).
WindowClass window_class(xcb_connection_t* connection, xcb_window_t window) {
    WindowClass names;
    const Reply<xcb_get_property_reply_t> reply =
        property(connection, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 256);
    if (!reply || reply->format != 8) {
        return names;
    }
    const auto* bytes = static_cast<const char*>(xcb_get_property_value(reply.get()));
    const std::string_view value(
        bytes, static_cast<std::size_t>(std::max(0, xcb_get_property_value_length(reply.get()))));
    const std::size_t end = value.find('\0');
    names.instance = std::string(value.substr(0, end));
    if (end != std::string_view::npos) {
        const std::string_view rest = value.substr(end + 1);
        names.window_class = std::string(rest.substr(0, rest.find('\0')));
    }
    return names;
}

std::string executable_of(std::uint32_t pid) {
    std::error_code error;
    const std::filesystem::path target =
        std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", error);
    return error ? std::string() : target.filename().string();
}

} // namespace tarvenor::xcb
