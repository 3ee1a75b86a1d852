#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace tarvenor {

// Four letters packed first-letter-most-significant, the way the shell messages carry their tag.
constexpr std::uint32_t four_letter_tag(const char (&letters)[5]) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(letters[0])) << 24 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(letters[1])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(letters[2])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(letters[3]));
}

inline constexpr std::uint32_t MainWindowTag = four_letter_tag("MAIN");

// The messages instances and the device side send the main window, with the tag each carries.
enum class ShellMessage : std::uint32_t {
    WM_SHELL_INIT = 0x4D4E,
    WM_SHELL_OPEN = 0x5350,
    WM_SHELL_KILL = 0x4D4B,
    WM_DEVICE_READY = 0x5452,
    WM_DEVICE_GONE = 0x4753,
    WM_BANK_SWITCHED = 0x5045,
};

std::uint32_t tag_of(ShellMessage message);

// What one instance asks of the running one.
enum class ShellCommand { Open, Kill };

// A message as it crosses between instances: message number and tag, little-endian.
using ShellPacket = std::array<std::uint8_t, 8>;

ShellPacket encode_shell_command(ShellCommand command);
// The command a packet carries; nothing for another message or a tag that does not match it.
std::optional<ShellCommand> decode_shell_command(const ShellPacket& packet);

} // namespace tarvenor
