#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace tarvenor::sim {

// A local socket on which the virtual keyboard takes one text command per connection and
// answers with one line.
class ControlServer {
public:
    using Handler = std::function<std::string(std::string_view command)>;

    ControlServer() = default;
    ControlServer(const ControlServer&) = delete;
    ControlServer& operator=(const ControlServer&) = delete;
    ~ControlServer();

    // Fails when the path cannot be bound or another virtual keyboard already serves it.
    bool start(const std::filesystem::path& socket, Handler handler, std::string& error);
    void stop();

private:
    void serve();
    void answer(int connection);

    Handler handler_;
    std::filesystem::path path_;
    int listener_ = -1;
    int wake_[2] = {-1, -1};
    std::thread thread_;
};

// Sends one command and returns the reply line; nullopt (with a reason) when nobody listens.
std::optional<std::string> send_control_command(const std::filesystem::path& socket,
                                                std::string_view command, std::string& error);

} // namespace tarvenor::sim
