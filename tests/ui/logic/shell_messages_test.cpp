#include "ui/logic/shell_messages.h"

#include <gtest/gtest.h>

namespace tarvenor {
namespace {

TEST(ShellMessages, TagsAreTheFixedNumbers) {
    EXPECT_EQ(MainWindowTag, 0x4D41494Eu);
    EXPECT_EQ(tag_of(ShellMessage::WM_SHELL_INIT), 0x494E4954u);
    EXPECT_EQ(tag_of(ShellMessage::WM_SHELL_OPEN), 0x4F50454Eu);
    EXPECT_EQ(tag_of(ShellMessage::WM_SHELL_KILL), 0x4C4C494Bu);
    EXPECT_EQ(tag_of(ShellMessage::WM_DEVICE_READY), 0x50524F46u);
    EXPECT_EQ(tag_of(ShellMessage::WM_BANK_SWITCHED), 0x004C4544u);
    EXPECT_EQ(tag_of(ShellMessage::WM_DEVICE_GONE), 0u);
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
    ShellPacket ready{0x52, 0x54, 0, 0, 0x46, 0x4F, 0x52, 0x50}; // WM_DEVICE_READY, 'PROF'
    EXPECT_FALSE(decode_shell_command(ready));
}

} // namespace
} // namespace tarvenor
