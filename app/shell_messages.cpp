#include "app/shell_messages.h"

#include "model/byte_order.h"

namespace tarvenor {
namespace {

// Four letters packed first-letter-most-significant.
constexpr std::uint32_t four_letter_tag(const char (&letters)[5]) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(letters[0])) << 24 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(letters[1])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(letters[2])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(letters[3]));
}

struct Wire {
    std::uint32_t message;
    std::uint32_t tag;
};

// The numbers are the fixed interface between instances of every version: "KILL" has always
// travelled with its letters in the opposite order.
constexpr Wire wire_of(ShellCommand command) {
    return command == ShellCommand::Open ? Wire{0x5350, four_letter_tag("OPEN")}
                                         : Wire{0x4D4B, 0x4C4C494B};
}

} // namespace

ShellPacket encode_shell_command(ShellCommand command) {
    const Wire wire = wire_of(command);
    ShellPacket packet{};
    write_u32(packet, 0, wire.message);
    write_u32(packet, 4, wire.tag);
    return packet;
}

std::optional<ShellCommand> decode_shell_command(const ShellPacket& packet) {
    const std::uint32_t message = read_u32(packet, 0);
    const std::uint32_t tag = read_u32(packet, 4);
    for (const ShellCommand command : {ShellCommand::Open, ShellCommand::Kill}) {
        const Wire expected = wire_of(command);
        if (message == expected.message && tag == expected.tag) {
            return command;
        }
    }
    return std::nullopt;
}

} // namespace tarvenor
