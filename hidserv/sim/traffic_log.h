#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>

namespace tarvenor::sim {

// Appends every report to a file, one line each: '>' (to the keyboard) or '<' (from it), a
// space, and the 64 bytes as 128 lower-case hex digits. Each line is flushed as it is written.
class TrafficLog {
public:
    TrafficLog() = default;
    TrafficLog(const TrafficLog&) = delete;
    TrafficLog& operator=(const TrafficLog&) = delete;

    // An empty path keeps the log closed.
    bool open(const std::filesystem::path& path, std::string& error);
    void record(char direction, const std::array<std::uint8_t, 64>& report);

private:
    std::mutex mutex_;
    std::ofstream file_;
};

} // namespace tarvenor::sim
