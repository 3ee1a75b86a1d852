#include "app/display_probe.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <utility>

namespace tarvenor {
namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::vector<std::string> platform_names(const std::string& list) {
    std::vector<std::string> names;
    std::istringstream entries(list);
    for (std::string entry; std::getline(entries, entry, ';');) {
        entry = entry.substr(0, entry.find(':'));
        if (!entry.empty()) {
            names.push_back(entry);
        }
    }
    return names;
}

AvailableDisplay x_display_answers() {
    const std::string display = variable("DISPLAY");
    if (display.empty()) {
        return AvailableDisplay(false);
    }
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return AvailableDisplay(false);
    }
    return AvailableDisplay(true, connection);
}

bool socket_listens(const std::filesystem::path& path) {
    sockaddr_un address{};
    const std::string name = path.string();
    if (name.size() >= sizeof(address.sun_path)) {
        return false;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.c_str(), name.size() + 1);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0) {
        return false;
    }
    const bool listens =
        ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(socket);
    return listens;
}

// Where the Wayland client library looks: WAYLAND_DISPLAY (default wayland-0), relative to
// XDG_RUNTIME_DIR unless it is absolute. WAYLAND_SOCKET is a connection the compositor handed over.
bool wayland_display_answers() {
    if (!variable("WAYLAND_SOCKET").empty()) {
        return true;
    }
    std::filesystem::path socket = variable("WAYLAND_DISPLAY");
    if (socket.empty()) {
        socket = "wayland-0";
    }
    if (socket.is_relative()) {
        const std::string runtime = variable("XDG_RUNTIME_DIR");
        if (runtime.empty()) {
            return false;
        }
        socket = std::filesystem::path(runtime) / socket;
    }
    return socket_listens(socket);
}

std::string named(const char* name) {
    const std::string value = variable(name);
    return value.empty() ? std::string(name) + " not set" : std::string(name) + "=" + value;
}

} // namespace

std::vector<std::string> requested_platforms(const std::vector<std::string>& arguments,
                                             const char* environment_value) {
    // Qt lets the argument win over the variable, and a later argument over an earlier one.
    std::string chosen = environment_value != nullptr ? environment_value : "";
    for (std::size_t i = 0; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == "-platform" || arguments[i] == "--platform") {
            chosen = arguments[++i];
        }
    }
    std::vector<std::string> names = platform_names(chosen);
    return names.empty() ? std::vector<std::string>{"wayland", "xcb"} : names;
}

AvailableDisplay::AvailableDisplay(bool available, xcb_connection_t* held)
    : available_(available), held_(held) {}

AvailableDisplay::AvailableDisplay(AvailableDisplay&& other) noexcept
    : available_(other.available_), held_(std::exchange(other.held_, nullptr)) {}

AvailableDisplay::~AvailableDisplay() {
    release();
}

void AvailableDisplay::release() {
    if (held_ != nullptr) {
        xcb_disconnect(held_);
        held_ = nullptr;
    }
}

AvailableDisplay display_available(const std::vector<std::string>& platforms) {
    for (const std::string& platform : platforms) {
        if (platform == "xcb") {
            if (AvailableDisplay x11 = x_display_answers()) {
                return x11;
            }
        } else if (!platform.starts_with("wayland") || wayland_display_answers()) {
            return AvailableDisplay(true);
        }
    }
    return AvailableDisplay(false);
}

std::string no_display_message() {
    std::string names;
    if (!variable("QT_QPA_PLATFORM").empty()) {
        names = named("QT_QPA_PLATFORM") + ", ";
    }
    return "no display could be opened (" + names + named("DISPLAY") + ", " +
           named("WAYLAND_DISPLAY") + ")";
}

} // namespace tarvenor
