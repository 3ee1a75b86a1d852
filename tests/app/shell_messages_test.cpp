#include "app/shell_messages.h"

#include <gtest/gtest.h>

namespace tarvenor {
namespace {

TEST(ShellMessages, PacketsCarryTheFixedNumbersAndTags) {
    // Open: message 0x5350, tag "OPEN"; Kill: message 0x4D4B, tag 0x4C4C494B.
    EXPECT_EQ(encode_shell_command(ShellCommand::Open),
              (ShellPacket{0x50, 0x53, 0, 0, 0x4E, 0x45, 0x50, 0x4F}));
    EXPECT_EQ(encode_shell_command(ShellCommand::Kill),
              (ShellPacket{0x4B, 0x4D, 0, 0, 0x4B, 0x49, 0x4C, 0x4C}));
}

TEST(ShellMessages, PacketsRoundTripLittleEndian) {
    const ShellPacket open = encode_shell_command(ShellCommand::Open);
    EXPECT_EQ(open, (ShellPacket{0x50, 0x53, 0, 0, 0x4E, 0x45, 0x50, 0x4F}));
    EXPECT_EQ(decode_shell_command(open), ShellCommand::Open);
    EXPECT_EQ(decode_shell_command(encode_shell_command(ShellCommand::Kill)), ShellCommand::Kill);
}

TEST(ShellMessages, WrongTagOrMessageIsIgnored) {
    ShellPacket open = encode_shell_command(ShellCommand::Open);
    open[4] ^= 1;
    EXPECT_FALSE(decode_shell_command(open));
    // The kill message with the open tag, and the reverse.
    ShellPacket mixed = encode_shell_command(ShellCommand::Kill);
    const ShellPacket open_packet = encode_shell_command(ShellCommand::Open);
    std::copy(open_packet.begin() + 4, open_packet.end(), mixed.begin() + 4);
    EXPECT_FALSE(decode_shell_command(mixed));
    EXPECT_FALSE(decode_shell_command(ShellPacket{}));
    // A well-formed message of another kind (0x5452 with the tag 'PROF').
    ShellPacket other{0x52, 0x54, 0, 0, 0x46, 0x4F, 0x52, 0x50};
    EXPECT_FALSE(decode_shell_command(other));
}

} // namespace
} // namespace tarvenor
