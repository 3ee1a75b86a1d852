#include "device/macro_download.h"
#include "transfer_fixture.h"

namespace tarvenor::testing {
namespace {

constexpr Code kFactoryA{2, 2, 0x04};
constexpr Code kFactoryS{2, 2, 0x16};

std::uint16_t u16_at(const Bytes& bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes.at(offset) | bytes.at(offset + 1) << 8);
}

std::vector<std::uint8_t> expected_commands(std::size_t macro_chunks, std::size_t profiles) {
    std::vector<std::uint8_t> commands{kBegin};
    commands.insert(commands.end(), macro_chunks, kWriteMacroArea);
    commands.insert(commands.end(), 7 * profiles, kWriteProfileBlock);
    commands.push_back(kEnd);
    return commands;
}

KeyAssignment assignment(AssignmentType type, std::uint32_t param = 0) {
    KeyAssignment entry;
    entry.type = static_cast<std::uint16_t>(type);
    entry.param = param;
    return entry;
}

class MacroDownloadTest : public TransferTest {
protected:
    bool download(bool all_profiles) {
        EXPECT_TRUE((holder_ = take_download_snapshot(config_)));
        return macro_download(*commands_, *holder_, all_profiles, messages_, texts_);
    }
    void assign(int profile, int slot, const KeyAssignment& entry) {
        config_.assign(flat_entry(profile, slot), entry);
    }
};

// Two macros: block = 16 + 2 * 2 + (4 + 4 * 3 + 2 * 5) + (4 + 4 * 40 + 2 * 2) = 214 bytes.
MacroStore two_macros() {
    return {make_macro(1, u"Alpha", 3, 2), make_macro(2, u"Be", 40)};
}

TEST_F(MacroDownloadTest, AllProfilesGoOutBracketedMacrosFirstThenProfilesInOrder) {
    start_learnt();
    install_default(two_macros());
    assign(0, 0x1E, assignment(AssignmentType::Macro, 2));
    assign(1, 0x1E, assignment(AssignmentType::Disabled));
    assign(2, 0x1E, assignment(AssignmentType::Key, 0x30)); // B
    ASSERT_TRUE(download(true));
    EXPECT_TRUE(messages_.shown.empty());

    const auto sent = requests();
    ASSERT_EQ(sent_commands(), expected_commands(4, 3));
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(address_of(sent[1 + i]), 56 * i);
        EXPECT_EQ(sent[1 + i].report[4], i < 3 ? 56 : 214 - 168);
    }
    for (std::size_t i = 0; i < 21; ++i) {
        EXPECT_EQ(address_of(sent[5 + i]), 378 * (i / 7) + 56 * (i % 7));
    }

    const Bytes block = memory("macros.bin");
    EXPECT_EQ(u16_at(block, 0), 0x55AA);
    EXPECT_EQ(u16_at(block, 2), 214);
    EXPECT_EQ(u16_at(block, 4), 2);
    EXPECT_EQ(u16_at(block, 6), 1) << "names fit";
    EXPECT_EQ(u16_at(block, 16), 20);
    EXPECT_EQ(u16_at(block, 18), 20 + 26);
    EXPECT_EQ(u16_at(block, 20), 3);
    EXPECT_EQ(block[22], 2) << "cycles";
    EXPECT_EQ(block[23], 5) << "name length";
    EXPECT_EQ(u16_at(block, 36), u'A');
    EXPECT_EQ(u16_at(block, 44), u'a');

    const std::size_t a = factory_position(kFactoryA);
    const std::size_t s = factory_position(kFactoryS);
    EXPECT_EQ(stored_code(0, a), (Code{5, 1, 1})) << "macro id 2 is the second macro";
    EXPECT_EQ(stored_code(1, a), (Code{0, 0, 0}));
    EXPECT_EQ(stored_code(2, a), (Code{2, 2, 0x05}));
    for (int profile = 0; profile < 3; ++profile) {
        EXPECT_EQ(stored_code(profile, s), kFactoryS);
    }
}

TEST_F(MacroDownloadTest, CurrentProfileAloneWritesOnlyItsBlock) {
    start_learnt();
    install_default(two_macros());
    assign(1, 0x1E, assignment(AssignmentType::StopMacro));
    assign(0, 0x1E, assignment(AssignmentType::Disabled));
    facts_.set_current_profile(1);
    ASSERT_TRUE(download(false));
    ASSERT_EQ(sent_commands(), expected_commands(4, 1));
    EXPECT_EQ(address_of(requests()[5]), 378);
    const std::size_t a = factory_position(kFactoryA);
    EXPECT_EQ(stored_code(1, a), (Code{5, 2, 0}));
    EXPECT_EQ(stored_code(0, a), kFactoryA) << "profile 0 was not downloaded";
}

TEST_F(MacroDownloadTest, UnknownCurrentProfileStillWritesMacrosButFails) {
    start_learnt();
    install_default(two_macros());
    assign(0, 0x1E, assignment(AssignmentType::Disabled));
    facts_.set_current_profile(-1);
    const Bytes profiles_before = memory("profiles.bin");
    EXPECT_FALSE(download(false));
    EXPECT_EQ(sent_commands(), expected_commands(4, 0));
    EXPECT_EQ(u16_at(memory("macros.bin"), 2), 214);
    EXPECT_EQ(memory("profiles.bin"), profiles_before);
}

TEST_F(MacroDownloadTest, MacrosTooLargeEvenWithoutNamesSendNothing) {
    start_learnt();
    install_default(two_macros());
    facts_.set_macro_space(214 - 2 * 7 - 1); // one byte short of the block without names
    EXPECT_FALSE(download(true));
    EXPECT_EQ(messages_.shown, std::vector<Message>{Message::MacrosTooLarge});
    EXPECT_TRUE(requests().empty());

    facts_.set_macro_space(0); // never read: even an empty store does not fit
    install_default();
    messages_.shown.clear();
    EXPECT_FALSE(download(true));
    EXPECT_EQ(messages_.shown, std::vector<Message>{Message::MacrosTooLarge});
    EXPECT_TRUE(requests().empty());
}

TEST_F(MacroDownloadTest, NamesAreDroppedAtExactlyOneByteTooFew) {
    start_learnt();
    // 16 + 2 + 4 + 4 * 3 = 34 bytes without the name, 38 with its two characters.
    install_default({make_macro(1, u"Ab", 3)});
    facts_.set_macro_space(38);
    ASSERT_TRUE(download(true));
    EXPECT_TRUE(messages_.shown.empty());
    Bytes block = memory("macros.bin");
    EXPECT_EQ(u16_at(block, 2), 38);
    EXPECT_EQ(u16_at(block, 6), 1);
    EXPECT_EQ(block[21], 2);

    clear_traffic();
    facts_.set_macro_space(37);
    ASSERT_TRUE(download(true)) << "the download goes on without names";
    EXPECT_EQ(messages_.shown, std::vector<Message>{Message::MacroNamesDropped});
    EXPECT_EQ(sent_commands(), expected_commands(1, 3));
    block = memory("macros.bin");
    EXPECT_EQ(u16_at(block, 2), 34);
    EXPECT_EQ(u16_at(block, 6), 0);
    EXPECT_EQ(block[21], 0) << "no name length";
}

TEST_F(MacroDownloadTest, TheFirstFailingCommandEndsTheDownloadWhichIsStillClosed) {
    // Begin and the four macro chunks pass, then the third chunk of profile 0 is refused.
    start_learnt();
    control("fault status-ff 3 7");
    install_default(two_macros());
    assign(2, 0x1E, assignment(AssignmentType::Function, 3));
    EXPECT_TRUE((holder_ = take_download_snapshot(config_)));
    DownloadFailure failure;
    EXPECT_FALSE(macro_download(*commands_, *holder_, true, messages_, texts_, &failure));
    EXPECT_EQ(failure.command, Command::WriteProfileBlock);
    EXPECT_EQ(failure.profile, 0);
    EXPECT_EQ(failure.status, DeviceStatus::Rejected);
    const auto commands = sent_commands();
    ASSERT_EQ(commands.size(), 1u + 4 + 2 + 3 + 1);
    EXPECT_EQ(commands.back(), kEnd) << "the transfer is closed after the failure";
    EXPECT_EQ(stored_code(2, factory_position(kFactoryA)), kFactoryA) << "profile 2 not sent";

    // Only the closing EndTransfer refused: still a failure.
    clear_traffic();
    control("fault status-ff 3 " + std::to_string(1 + 4 + 21));
    EXPECT_FALSE(macro_download(*commands_, *holder_, true, messages_, texts_, &failure));
    EXPECT_EQ(failure.command, Command::EndTransfer);
    EXPECT_EQ(sent_commands().size(), 1u + 4 + 21 + 3);
}

TEST_F(MacroDownloadTest, WithoutFactoryCodesNothingIsSent) {
    start();
    ASSERT_EQ(commands_->read_macro_space(), DeviceStatus::Success);
    facts_.set_current_profile(0);
    clear_traffic();
    install_default(two_macros());
    EXPECT_FALSE(download(true));
    EXPECT_EQ(messages_.shown, std::vector<Message>{Message::DefaultMatrixFailure});
    EXPECT_TRUE(requests().empty());
}

TEST_F(MacroDownloadTest, UnpluggedKeyboardFailsWithoutWriting) {
    start_learnt();
    install_default(two_macros());
    control("unplug");
    ASSERT_TRUE(sink_.wait_for(
        [](const auto& counts, const auto&) { return !counts.empty() && counts.back() == 0; }));
    EXPECT_FALSE(download(true));
    EXPECT_TRUE(requests().empty());
}

} // namespace
} // namespace tarvenor::testing
