#include "hidserv/sim/control_channel.h"

#include "hidserv/sim/control_endpoint.h"
#include "hidserv/sim/native_file.h"

namespace tarvenor::sim {
namespace {

constexpr std::size_t kMaxLine = 512;

} // namespace

ControlServer::ControlServer() = default;

ControlServer::~ControlServer() {
    stop();
}

bool ControlServer::start(const std::filesystem::path& socket, Handler handler,
                          std::string& error) {
    endpoint_ = listen_for_control(socket, error);
    if (!endpoint_) {
        return false;
    }
    handler_ = std::move(handler);
    thread_ = std::thread([this] { endpoint_->serve(handler_); });
    return true;
}

void ControlServer::stop() {
    if (thread_.joinable()) {
        endpoint_->stop();
        thread_.join();
    }
    endpoint_.reset();
}

std::string read_control_line(const std::function<std::size_t(std::span<char>)>& read_some) {
    std::string line;
    char chunk[128];
    while (line.size() < kMaxLine && line.find('\n') == std::string::npos) {
        const std::size_t n = read_some(chunk);
        if (n == 0) {
            break;
        }
        line.append(chunk, n);
    }
    return line.substr(0, line.find('\n'));
}

std::string control_busy_error(const std::filesystem::path& socket) {
    return socket.string() + ": another virtual keyboard is using this control socket";
}

std::string control_absent_error(const std::filesystem::path& socket) {
    return socket.string() + ": no virtual keyboard is listening: " + last_system_error();
}

std::string control_silent_error(const std::filesystem::path& socket) {
    return socket.string() + ": the virtual keyboard did not reply";
}

} // namespace tarvenor::sim
