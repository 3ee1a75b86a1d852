#include "hidserv/sim/control_endpoint.h"
#include "hidserv/sim/native_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace tarvenor::sim {
namespace {

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

std::string read_line(int fd) {
    return read_control_line([fd](std::span<char> chunk) -> std::size_t {
        if (!wait_readable(fd, kControlWaitMs)) {
            return 0;
        }
        const ssize_t n = ::read(fd, chunk.data(), chunk.size());
        return n > 0 ? static_cast<std::size_t>(n) : 0;
    });
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

void close_if_open(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

// A listening socket at a path, and a pipe that wakes its thread to stop.
class SocketEndpoint : public ControlEndpoint {
public:
    ~SocketEndpoint() override {
        for (int* fd : {&listener_, &wake_[0], &wake_[1]}) {
            close_if_open(*fd);
        }
        if (!path_.empty()) {
            ::unlink(path_.c_str());
        }
    }

    bool listen(const std::filesystem::path& socket, std::string& error) {
        sockaddr_un address;
        if (!socket_address(socket, address, error)) {
            return false;
        }
        if (const int other = connect_to(address); other >= 0) {
            ::close(other);
            error = control_busy_error(socket);
            return false;
        }
        ::unlink(socket.c_str()); // left behind by a process that ended without cleaning up
        listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (listener_ < 0 ||
            ::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener_, 8) != 0 || ::pipe2(wake_, O_CLOEXEC) != 0) {
            error = socket.string() + ": " + last_system_error();
            return false;
        }
        path_ = socket;
        return true;
    }

    void serve(const ControlServer::Handler& handler) override {
        for (;;) {
            pollfd entries[2] = {{listener_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
            if (::poll(entries, 2, -1) < 0 && errno != EINTR) {
                return;
            }
            if (entries[1].revents != 0) {
                return;
            }
            if (entries[0].revents & POLLIN) {
                int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
                if (connection >= 0) {
                    write_all(connection, handler(read_line(connection)) + "\n");
                    close_if_open(connection);
                }
            }
        }
    }

    void stop() override {
        const char wake = 'x';
        [[maybe_unused]] const ssize_t ignored = ::write(wake_[1], &wake, 1);
    }

private:
    std::filesystem::path path_;
    int listener_ = -1;
    int wake_[2] = {-1, -1};
};

} // namespace

std::unique_ptr<ControlEndpoint> listen_for_control(const std::filesystem::path& socket,
                                                    std::string& error) {
    auto endpoint = std::make_unique<SocketEndpoint>();
    if (!endpoint->listen(socket, error)) {
        return nullptr;
    }
    return endpoint;
}

std::optional<std::string> send_control_command(const std::filesystem::path& socket,
                                                std::string_view command, std::string& error) {
    sockaddr_un address;
    if (!socket_address(socket, address, error)) {
        return std::nullopt;
    }
    int fd = connect_to(address);
    if (fd < 0) {
        error = control_absent_error(socket);
        return std::nullopt;
    }
    write_all(fd, std::string(command) + "\n");
    const std::string reply = read_line(fd);
    close_if_open(fd);
    if (reply.empty()) {
        error = control_silent_error(socket);
        return std::nullopt;
    }
    return reply;
}

} // namespace tarvenor::sim
