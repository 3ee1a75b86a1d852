#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tarvenor {

inline constexpr std::size_t kReportSize = 64;
inline constexpr std::size_t kReportDataOffset = 8;
inline constexpr std::size_t kReportDataSize = kReportSize - kReportDataOffset; // 56
inline constexpr std::uint8_t kCommandReportId = 0x04;
inline constexpr std::uint8_t kAnswerStatusFF = 0xFF;
inline constexpr std::uint8_t kAnswerStatusFE = 0xFE;

// The 64-byte report that carries one command to the keyboard and its answer back:
// report id, checksum (2), command, length, address (2), status, 56 data bytes.
struct DeviceReport {
    std::array<std::uint8_t, kReportSize> bytes{};

    // A fresh request: report id, command, length and address; everything else 0.
    static DeviceReport request(std::uint8_t command, std::uint8_t length, std::uint16_t address);

    std::uint8_t command() const { return bytes[3]; }
    std::uint8_t length() const { return bytes[4]; }
    std::uint16_t address() const { return static_cast<std::uint16_t>(bytes[5] | bytes[6] << 8); }
    std::uint8_t status() const { return bytes[7]; }
    void set_length(std::uint8_t length) { bytes[4] = length; }
    void set_address(std::uint16_t address);

    std::span<std::uint8_t, kReportDataSize> data() {
        return std::span(bytes).subspan<kReportDataOffset>();
    }
    std::span<const std::uint8_t, kReportDataSize> data() const {
        return std::span(bytes).subspan<kReportDataOffset>();
    }

    // Stores the checksum; call it after every other byte is in place.
    void seal();
};

// The sum of bytes 3..63 as unsigned bytes, kept to 16 bits.
std::uint16_t report_checksum(const DeviceReport& report);

} // namespace tarvenor
