#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace tarvenor::sim {

class ControlEndpoint;

// A local channel on which the virtual keyboard takes one text command per connection and
// answers with one line: a socket at the given path, or on Windows a named pipe derived from it.
class ControlServer {
public:
    using Handler = std::function<std::string(std::string_view command)>;

    ControlServer();
    ControlServer(const ControlServer&) = delete;
    ControlServer& operator=(const ControlServer&) = delete;
    ~ControlServer();

    // Fails when the channel cannot be made or another virtual keyboard already serves it.
    bool start(const std::filesystem::path& socket, Handler handler, std::string& error);
    void stop();

private:
    Handler handler_;
    std::unique_ptr<ControlEndpoint> endpoint_;
    std::thread thread_;
};

// Sends one command and returns the reply line; nullopt (with a reason) when nobody listens.
std::optional<std::string> send_control_command(const std::filesystem::path& socket,
                                                std::string_view command, std::string& error);

} // namespace tarvenor::sim
