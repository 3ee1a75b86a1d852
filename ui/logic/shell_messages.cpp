#include "ui/logic/shell_messages.h"

#include "model/byte_order.h"

namespace tarvenor {

std::uint32_t tag_of(ShellMessage message) {
    switch (message) {
    // The numbers are the fixed interface: "KILL" and "DEL" have always travelled with their
    // letters in the opposite order.
    case ShellMessage::WM_SHELL_INIT:
        return four_letter_tag("INIT");
    case ShellMessage::WM_SHELL_OPEN:
        return four_letter_tag("OPEN");
    case ShellMessage::WM_SHELL_KILL:
        return 0x4C4C494B;
    case ShellMessage::WM_DEVICE_READY:
        return four_letter_tag("PROF");
    case ShellMessage::WM_BANK_SWITCHED:
        return 0x004C4544;
    case ShellMessage::WM_DEVICE_GONE:
        break;
    }
    return 0;
}

namespace {

ShellMessage message_of(ShellCommand command) {
    return command == ShellCommand::Open ? ShellMessage::WM_SHELL_OPEN
                                         : ShellMessage::WM_SHELL_KILL;
}

} // namespace

ShellPacket encode_shell_command(ShellCommand command) {
    const ShellMessage message = message_of(command);
    ShellPacket packet{};
    write_u32(packet, 0, static_cast<std::uint32_t>(message));
    write_u32(packet, 4, tag_of(message));
    return packet;
}

std::optional<ShellCommand> decode_shell_command(const ShellPacket& packet) {
    const std::uint32_t message = read_u32(packet, 0);
    const std::uint32_t tag = read_u32(packet, 4);
    for (const ShellCommand command : {ShellCommand::Open, ShellCommand::Kill}) {
        const ShellMessage expected = message_of(command);
        if (message == static_cast<std::uint32_t>(expected) && tag == tag_of(expected)) {
            return command;
        }
    }
    return std::nullopt;
}

} // namespace tarvenor
