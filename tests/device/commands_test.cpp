#include "sim_fixture.h"

#include <numeric>

namespace tarvenor::testing {
namespace {

Bytes counting_bytes(std::size_t size, std::uint8_t first = 1) {
    Bytes bytes(size);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

void expect_checksum_as_sent(const TrafficLine& line) {
    const unsigned sum = sum_of_bytes_3_to_63(line.report);
    EXPECT_EQ(line.report[1], sum & 0xFF);
    EXPECT_EQ(line.report[2], (sum >> 8) & 0xFF);
}

using CommandsTest = SimKeyboardTest;

TEST_F(CommandsTest, MacroAreaWriteOf100BytesKeepsStaleBytesInTheLastReport) {
    start();
    const Bytes area = counting_bytes(100);
    ASSERT_EQ(commands_->write_macro_area(area), DeviceStatus::Success);
    const auto sent = requests();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].report[0], 0x04);
    EXPECT_EQ(sent[0].report[3], 10);
    EXPECT_EQ(sent[0].report[4], 56);
    EXPECT_EQ(address_of(sent[0]), 0);
    EXPECT_EQ(sent[0].report[7], 0);
    EXPECT_TRUE(std::equal(area.begin(), area.begin() + 56, sent[0].report.begin() + 8));
    EXPECT_EQ(sent[1].report[4], 44);
    EXPECT_EQ(address_of(sent[1]), 56);
    EXPECT_TRUE(std::equal(area.begin() + 56, area.end(), sent[1].report.begin() + 8));
    // bytes 52..63 still hold bytes 44..55 of the first chunk
    EXPECT_TRUE(std::equal(area.begin() + 44, area.begin() + 56, sent[1].report.begin() + 52));
    expect_checksum_as_sent(sent[0]);
    expect_checksum_as_sent(sent[1]);
    const Bytes stored = memory("macros.bin");
    EXPECT_TRUE(std::equal(area.begin(), area.end(), stored.begin()));
    EXPECT_EQ(stored[100], 0);
}

TEST_F(CommandsTest, MacroAreaReadReturnsWhatIsStoredAndEmptyTransfersSendNothing) {
    start();
    const Bytes stored = counting_bytes(200, 9);
    poke_memory("macros.bin", 0, stored);
    Bytes area(200);
    ASSERT_EQ(commands_->read_macro_area(area), DeviceStatus::Success);
    EXPECT_EQ(area, stored);
    EXPECT_EQ(requests().size(), 4u);
    clear_traffic();
    EXPECT_EQ(commands_->read_macro_area({}), DeviceStatus::Success);
    EXPECT_EQ(commands_->write_macro_area({}), DeviceStatus::Success);
    EXPECT_TRUE(traffic().empty());
}

TEST_F(CommandsTest, ProfileBlockTravelsInSevenReportsAtItsProfileAddress) {
    start();
    KeyMatrix block{};
    const Bytes pattern = counting_bytes(block.size(), 3);
    std::copy(pattern.begin(), pattern.end(), block.begin());
    ASSERT_EQ(commands_->write_profile_block(1, block), DeviceStatus::Success);
    const auto sent = requests();
    ASSERT_EQ(sent.size(), 7u);
    for (std::size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i].report[3], 8);
        EXPECT_EQ(sent[i].report[4], i < 6 ? 56 : 42);
        EXPECT_EQ(address_of(sent[i]), 378 + 56 * i);
        expect_checksum_as_sent(sent[i]);
    }
    const Bytes profiles = memory("profiles.bin");
    EXPECT_EQ(Bytes(profiles.begin() + 378, profiles.begin() + 756), pattern);
    EXPECT_EQ(Bytes(profiles.begin(), profiles.begin() + 378), memory("default_matrix.bin"));

    KeyMatrix read_back{};
    ASSERT_EQ(commands_->read_profile_block(1, read_back), DeviceStatus::Success);
    EXPECT_EQ(read_back, block);
}

TEST_F(CommandsTest, ProfileIndexOutOfRangeSendsNothing) {
    start();
    KeyMatrix block{};
    ReportData data{};
    const std::uint8_t rgb[3] = {1, 2, 3};
    EXPECT_EQ(commands_->read_profile_block(3, block), DeviceStatus::InvalidArgument);
    EXPECT_EQ(commands_->write_profile_block(-1, block), DeviceStatus::InvalidArgument);
    EXPECT_EQ(commands_->read_key_colours(3, 0, 54, data), DeviceStatus::InvalidArgument);
    EXPECT_EQ(commands_->write_key_colours(0, 126, rgb), DeviceStatus::InvalidArgument);
    EXPECT_EQ(commands_->set_current_profile(3), DeviceStatus::InvalidArgument);
    const Bytes too_long(57, 1);
    EXPECT_EQ(commands_->write_settings(0, too_long), DeviceStatus::InvalidArgument);
    EXPECT_EQ(status_code(DeviceStatus::InvalidArgument), -201);
    EXPECT_TRUE(traffic().empty());
}

TEST_F(CommandsTest, KeyColourOfPosition18InProfile2IsAtAddress1078) {
    start();
    const std::uint8_t rgb[3] = {0x10, 0x20, 0x30};
    ASSERT_EQ(commands_->write_key_colours(2, 18, rgb), DeviceStatus::Success);
    const auto sent = requests();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].report[3], 17);
    EXPECT_EQ(sent[0].report[4], 3);
    EXPECT_EQ(sent[0].report[5], 0x36);
    EXPECT_EQ(sent[0].report[6], 0x04);
    const Bytes colours = memory("colours.bin");
    EXPECT_EQ(Bytes(colours.begin() + 1078, colours.begin() + 1081), Bytes(rgb, rgb + 3));

    ReportData data{};
    ASSERT_EQ(commands_->read_key_colours(2, 18, 54, data), DeviceStatus::Success);
    EXPECT_EQ(Bytes(data.begin(), data.begin() + 3), Bytes(rgb, rgb + 3));
}

TEST_F(CommandsTest, SettingsAreWrittenAndReadAtTheirAddress) {
    start();
    const Bytes record = counting_bytes(42, 5);
    ASSERT_EQ(commands_->write_settings(2 * 42, record), DeviceStatus::Success);
    const Bytes settings = memory("settings.bin");
    EXPECT_EQ(Bytes(settings.begin() + 84, settings.begin() + 126), record);
    ReportData data{};
    ASSERT_EQ(commands_->read_settings(2 * 42, 56, data), DeviceStatus::Success);
    EXPECT_EQ(Bytes(data.begin(), data.begin() + 42), record);
    // 84 + 56 reaches past nothing; 250 + 56 reaches past the area
    EXPECT_EQ(commands_->read_settings(250, 56, data), DeviceStatus::Rejected);
}

TEST_F(CommandsTest, TransferBracketsAreEmptyCommandsOneAndTwo) {
    start();
    ASSERT_EQ(commands_->begin_transfer(), DeviceStatus::Success);
    ASSERT_EQ(commands_->end_transfer(), DeviceStatus::Success);
    const auto sent = requests();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].report[3], 1);
    EXPECT_EQ(sent[1].report[3], 2);
    for (const TrafficLine& line : sent) {
        EXPECT_EQ(sum_of_bytes_3_to_63(line.report), line.report[3]) << "only the command is set";
    }
}

TEST_F(CommandsTest, FirstFailingChunkEndsTheTransferAndKeepsWhatWasDone) {
    start({{"TARVENOR_SIM_FAULT", "status-ff 3 2"}});
    const Bytes area = counting_bytes(200);
    EXPECT_EQ(commands_->write_macro_area(area), DeviceStatus::Rejected);
    const auto sent = requests();
    ASSERT_EQ(sent.size(), 5u); // two good chunks, the third three times, never the fourth
    EXPECT_EQ(address_of(sent[4]), 112);
    const Bytes stored = memory("macros.bin");
    EXPECT_TRUE(std::equal(area.begin(), area.begin() + 112, stored.begin()));
    EXPECT_EQ(stored[112], 0);

    control("fault status-fe 3 1");
    Bytes read_back(200, 0xEE);
    EXPECT_EQ(commands_->read_macro_area(read_back), DeviceStatus::UnknownCommand);
    EXPECT_TRUE(std::equal(area.begin(), area.begin() + 56, read_back.begin()));
    EXPECT_EQ(std::count(read_back.begin() + 56, read_back.end(), 0xEE), 144);
}

TEST_F(CommandsTest, DefaultKeyMatrixIsTheKeyboardsFactoryMatrix) {
    start();
    KeyMatrix matrix{};
    ASSERT_EQ(commands_->read_default_key_matrix(matrix), DeviceStatus::Success);
    EXPECT_EQ(Bytes(matrix.begin(), matrix.end()), memory("default_matrix.bin"));
    EXPECT_EQ(requests().size(), 7u);
}

TEST_F(CommandsTest, CurrentProfileIsReadOnceAndThenCached) {
    start();
    poke_memory("parameters.bin", 10, {2});
    EXPECT_EQ(commands_->get_current_profile(), 2);
    EXPECT_EQ(commands_->get_current_profile(), 2);
    EXPECT_EQ(requests().size(), 1u);
    EXPECT_EQ(facts_.current_profile(), 2);
}

TEST_F(CommandsTest, ProfileByteAboveTwoCountsAsUndetermined) {
    start();
    poke_memory("parameters.bin", 10, {5});
    EXPECT_EQ(commands_->get_current_profile(), -1);
    EXPECT_EQ(commands_->get_current_profile(), -1);
    EXPECT_EQ(requests().size(), 2u) << "nothing cached, so each call asks again";
}

TEST_F(CommandsTest, FailedProfileReadLeavesTheCacheUnknown) {
    start({{"TARVENOR_SIM_FAULT", "no-answer 3"}});
    EXPECT_EQ(commands_->get_current_profile(), -1);
    EXPECT_EQ(facts_.current_profile(), -1);
    EXPECT_EQ(commands_->get_current_profile(), 0);
}

TEST_F(CommandsTest, SettingTheActiveProfileRewritesOnlyByte10) {
    start();
    const Bytes before = memory("parameters.bin");
    ASSERT_EQ(commands_->set_current_profile(2), DeviceStatus::Success);
    Bytes expected = before;
    expected[10] = 2;
    EXPECT_EQ(memory("parameters.bin"), expected);
    EXPECT_EQ(facts_.current_profile(), 2);
    const auto sent = requests();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].report[3], 3);
    EXPECT_EQ(sent[1].report[3], 4);
}

TEST_F(CommandsTest, FailedWriteMakesTheProfileUnknownAndFailedReadChangesNothing) {
    start({{"TARVENOR_SIM_FAULT", "status-ff 3 1"}}); // the read passes, the write is refused
    facts_.set_current_profile(1);
    EXPECT_EQ(commands_->set_current_profile(2), DeviceStatus::Rejected);
    EXPECT_EQ(facts_.current_profile(), -1);
    EXPECT_EQ(memory("parameters.bin")[10], 0);

    control("fault no-answer 3");
    facts_.set_current_profile(1);
    EXPECT_EQ(commands_->set_current_profile(2), DeviceStatus::NoAnswer);
    EXPECT_EQ(facts_.current_profile(), 1);
}

TEST_F(CommandsTest, MacroSpaceFollowsByte11AndSurvivesAFailedRead) {
    start();
    ASSERT_EQ(commands_->read_macro_space(), DeviceStatus::Success);
    EXPECT_EQ(facts_.macro_space(), 8192);
    poke_memory("parameters.bin", 11, {255});
    ASSERT_EQ(commands_->read_macro_space(), DeviceStatus::Success);
    EXPECT_EQ(facts_.macro_space(), 255 * 128);
    control("fault status-fe 3");
    EXPECT_EQ(commands_->read_macro_space(), DeviceStatus::UnknownCommand);
    EXPECT_EQ(facts_.macro_space(), 255 * 128);
}

} // namespace
} // namespace tarvenor::testing
