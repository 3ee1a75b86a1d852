#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace tarvenor {

// What one instance asks of the running one.
enum class ShellCommand { Open, Kill };

// A command as it crosses between instances: its message number and its tag, each 32 bits,
// little-endian.
using ShellPacket = std::array<std::uint8_t, 8>;

ShellPacket encode_shell_command(ShellCommand command);
// The command a packet carries; nothing for another message or a tag that does not match it.
std::optional<ShellCommand> decode_shell_command(const ShellPacket& packet);

} // namespace tarvenor
