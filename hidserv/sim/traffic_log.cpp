#include "hidserv/sim/traffic_log.h"

#include "hidserv/debug_log.h"

#include <cerrno>
#include <cstring>

namespace tarvenor::sim {

TrafficLog::~TrafficLog() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

bool TrafficLog::open(const std::filesystem::path& path, std::string& error) {
    if (path.empty()) {
        return true;
    }
    file_ = std::fopen(path.c_str(), "a");
    if (file_ == nullptr) {
        error = path.string() + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

void TrafficLog::record(char direction, const std::array<std::uint8_t, 64>& report) {
    if (file_ == nullptr) {
        return;
    }
    const std::string line =
        std::string(1, direction) + ' ' + hidserv::hex_bytes(report.data(), report.size()) + '\n';
    const std::lock_guard lock(mutex_);
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}

} // namespace tarvenor::sim
