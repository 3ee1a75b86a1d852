#include "device/device_report.h"

#include <numeric>

namespace tarvenor {

DeviceReport DeviceReport::request(std::uint8_t command, std::uint8_t length,
                                   std::uint16_t address) {
    DeviceReport report;
    report.bytes[0] = kCommandReportId;
    report.bytes[3] = command;
    report.set_length(length);
    report.set_address(address);
    return report;
}

void DeviceReport::set_address(std::uint16_t address) {
    bytes[5] = static_cast<std::uint8_t>(address & 0xFF);
    bytes[6] = static_cast<std::uint8_t>(address >> 8);
}

void DeviceReport::seal() {
    const std::uint16_t sum = report_checksum(*this);
    bytes[1] = static_cast<std::uint8_t>(sum & 0xFF);
    bytes[2] = static_cast<std::uint8_t>(sum >> 8);
}

std::uint16_t report_checksum(const DeviceReport& report) {
    return static_cast<std::uint16_t>(
        std::accumulate(report.bytes.begin() + 3, report.bytes.end(), 0u));
}

} // namespace tarvenor
