#include "hidserv/sim/control_channel.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace tarvenor::sim {
namespace {

constexpr std::size_t kMaxLine = 512;
constexpr int kClientWaitMs = 2000;

std::string system_error(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

bool socket_address(const std::filesystem::path& path, sockaddr_un& address, std::string& error) {
    address = {};
    address.sun_family = AF_UNIX;
    const std::string text = path.string();
    if (text.size() >= sizeof address.sun_path) {
        error = text + ": path too long for a local socket (set TARVENOR_SIM_CONTROL)";
        return false;
    }
    std::memcpy(address.sun_path, text.c_str(), text.size() + 1);
    return true;
}

int connect_to(const sockaddr_un& address) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 &&
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        return fd;
    }
    if (fd >= 0) {
        ::close(fd);
    }
    return -1;
}

bool wait_readable(int fd, int timeout_ms) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, timeout_ms) > 0;
}

// Reads up to the first newline or the end of the stream.
std::string read_line(int fd, int timeout_ms) {
    std::string line;
    char chunk[128];
    while (line.size() < kMaxLine && line.find('\n') == std::string::npos &&
           wait_readable(fd, timeout_ms)) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n <= 0) {
            break;
        }
        line.append(chunk, static_cast<std::size_t>(n));
    }
    return line.substr(0, line.find('\n'));
}

void write_all(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::send(fd, text.data(), text.size(), MSG_NOSIGNAL);
        if (n <= 0) {
            return;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
}

} // namespace

ControlServer::~ControlServer() {
    stop();
}

bool ControlServer::start(const std::filesystem::path& socket, Handler handler,
                          std::string& error) {
    sockaddr_un address;
    if (!socket_address(socket, address, error)) {
        return false;
    }
    if (const int other = connect_to(address); other >= 0) {
        ::close(other);
        error = socket.string() + ": another virtual keyboard is using this control socket";
        return false;
    }
    ::unlink(socket.c_str()); // left behind by a process that ended without cleaning up
    listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0 ||
        ::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 8) != 0 || ::pipe2(wake_, O_CLOEXEC) != 0) {
        error = system_error(socket.string());
        stop();
        return false;
    }
    handler_ = std::move(handler);
    path_ = socket;
    thread_ = std::thread([this] { serve(); });
    return true;
}

void ControlServer::stop() {
    if (thread_.joinable()) {
        const char wake = 'x';
        [[maybe_unused]] const ssize_t ignored = ::write(wake_[1], &wake, 1);
        thread_.join();
    }
    for (int* fd : {&listener_, &wake_[0], &wake_[1]}) {
        if (*fd >= 0) {
            ::close(*fd);
            *fd = -1;
        }
    }
    if (!path_.empty()) {
        ::unlink(path_.c_str());
        path_.clear();
    }
}

void ControlServer::serve() {
    for (;;) {
        pollfd entries[2] = {{listener_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (::poll(entries, 2, -1) < 0 && errno != EINTR) {
            return;
        }
        if (entries[1].revents != 0) {
            return;
        }
        if (entries[0].revents & POLLIN) {
            const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (connection >= 0) {
                answer(connection);
                ::close(connection);
            }
        }
    }
}

void ControlServer::answer(int connection) {
    const std::string command = read_line(connection, kClientWaitMs);
    write_all(connection, handler_(command) + "\n");
}

std::optional<std::string> send_control_command(const std::filesystem::path& socket,
                                                std::string_view command, std::string& error) {
    sockaddr_un address;
    if (!socket_address(socket, address, error)) {
        return std::nullopt;
    }
    const int fd = connect_to(address);
    if (fd < 0) {
        error = system_error(socket.string() + ": no virtual keyboard is listening");
        return std::nullopt;
    }
    write_all(fd, std::string(command) + "\n");
    const std::string reply = read_line(fd, kClientWaitMs);
    ::close(fd);
    if (reply.empty()) {
        error = socket.string() + ": the virtual keyboard did not reply";
        return std::nullopt;
    }
    return reply;
}

} // namespace tarvenor::sim
