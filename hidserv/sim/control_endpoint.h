#pragma once

#include "hidserv/sim/control_channel.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>

namespace tarvenor::sim {

// The system's side of the control channel, listening from creation until destruction.
class ControlEndpoint {
public:
    virtual ~ControlEndpoint() = default;
    // Answers one connection after another until stop() is called from another thread.
    virtual void serve(const ControlServer::Handler& handler) = 0;
    virtual void stop() = 0;
};

// Null (with a reason) when the channel cannot be made or another virtual keyboard serves it.
std::unique_ptr<ControlEndpoint> listen_for_control(const std::filesystem::path& socket,
                                                    std::string& error);

// How long either side waits for the other's next bytes.
inline constexpr int kControlWaitMs = 2000;

// Reads chunks up to the first newline, the end of the stream or a length limit, and returns the
// text before the newline. `read_some` returns the number of bytes read, 0 at the end, on a
// timeout or on failure.
std::string read_control_line(const std::function<std::size_t(std::span<char>)>& read_some);

// What the two sides say when the channel fails, in the same words on every system.
std::string control_busy_error(const std::filesystem::path& socket);
std::string control_absent_error(const std::filesystem::path& socket);
std::string control_silent_error(const std::filesystem::path& socket);

} // namespace tarvenor::sim
