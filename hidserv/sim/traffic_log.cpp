#include "hidserv/sim/traffic_log.h"

#include "hidserv/debug_log.h"

#include <cerrno>
#include <cstring>

namespace tarvenor::sim {

bool TrafficLog::open(const std::filesystem::path& path, std::string& error) {
    if (path.empty()) {
        return true;
    }
    // Binary, so that every system writes the same bytes.
    file_.open(path, std::ios::binary | std::ios::app);
    if (!file_.is_open()) {
        error = path.string() + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

void TrafficLog::record(char direction, const std::array<std::uint8_t, 64>& report) {
    if (!file_.is_open()) {
        return;
    }
    const std::string line =
        std::string(1, direction) + ' ' + hidserv::hex_bytes(report.data(), report.size()) + '\n';
    const std::lock_guard lock(mutex_);
    file_.write(line.data(), static_cast<std::streamsize>(line.size()));
    file_.flush();
}

} // namespace tarvenor::sim
