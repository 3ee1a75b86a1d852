// A stop request (the program is ending) holds back every later command of the command set, for
// good, except the EndTransfer of an open transfer: the keyboard is left at a safe point, and a
// job cut short by it ends as stopped.
#include "sim_session_fixture.h"

#include <algorithm>
#include <chrono>
#include <future>

namespace tarvenor::testing {
namespace {

using namespace std::chrono_literals;
using std::chrono::steady_clock;

class StopRequestTest : public TransferTest {
protected:
    KeyMatrix block_{};
};

TEST_F(StopRequestTest, AfterTheStopOnlyTheOpenTransferIsClosed) {
    start_learnt();
    const Bytes before = memory("profiles.bin");
    commands_->begin_operation();
    ASSERT_EQ(commands_->begin_transfer(), DeviceStatus::Success);
    ASSERT_EQ(commands_->write_profile_block(0, block_), DeviceStatus::Success);
    EXPECT_FALSE(commands_->operation_stopped());

    commands_->request_stop();
    ParameterBlock parameters{};
    EXPECT_EQ(commands_->write_profile_block(1, block_), DeviceStatus::Stopped);
    EXPECT_EQ(commands_->read_parameters(parameters), DeviceStatus::Stopped);
    EXPECT_EQ(commands_->begin_transfer(), DeviceStatus::Stopped);
    EXPECT_EQ(commands_->end_transfer(), DeviceStatus::Success);
    EXPECT_EQ(commands_->end_transfer(), DeviceStatus::Stopped) << "closed once";
    EXPECT_TRUE(commands_->operation_stopped());
    commands_->end_operation();

    // Seven chunks of profile 0, then nothing but the EndTransfer.
    std::vector<std::uint8_t> expected{kBegin};
    expected.insert(expected.end(), 7, kWriteProfileBlock);
    expected.push_back(kEnd);
    EXPECT_EQ(sent_commands(), expected);
    const Bytes after = memory("profiles.bin");
    ASSERT_EQ(after.size(), before.size());
    EXPECT_TRUE(std::equal(after.begin() + 378, after.end(), before.begin() + 378))
        << "profiles 1 and 2 untouched";
}

TEST_F(StopRequestTest, TheStopHoldsForLaterOperationsAndCommandsOutsideThem) {
    start_learnt();
    commands_->request_stop();
    ParameterBlock parameters{};
    EXPECT_EQ(commands_->read_parameters(parameters), DeviceStatus::Stopped);
    EXPECT_EQ(commands_->end_transfer(), DeviceStatus::Stopped) << "no transfer open";
    commands_->begin_operation();
    EXPECT_FALSE(commands_->operation_stopped()) << "a new operation starts uncut";
    EXPECT_EQ(commands_->set_current_profile(1), DeviceStatus::Stopped);
    EXPECT_TRUE(commands_->operation_stopped());
    commands_->end_operation();
    EXPECT_TRUE(requests().empty());
}

// A keyboard that fell silent gets a single EndTransfer attempt on the way out, not three.
TEST_F(StopRequestTest, ASilentKeyboardOnTheWayOutGetsOneClosingAttempt) {
    start_learnt();
    commands_->begin_operation();
    ASSERT_EQ(commands_->begin_transfer(), DeviceStatus::Success);
    control("fault no-answer");
    commands_->request_stop();
    EXPECT_EQ(commands_->end_transfer(), DeviceStatus::NoAnswer);
    commands_->end_operation();
    EXPECT_EQ(sent_commands(), (std::vector<std::uint8_t>{kBegin, kEnd}));
}

// The stop comes from another thread while a job writes the macro area to a slow keyboard.
class StopRequestSessionTest : public SimSessionTest {
protected:
    // Posts a job that opens a transfer, writes one chunk of the macro area, says so, writes the
    // whole macro area and closes the transfer; the future gives its outcome.
    std::future<JobOutcome> post_download(std::promise<void>& opened) {
        auto outcome = std::make_shared<std::promise<JobOutcome>>();
        std::future<JobOutcome> finished = outcome->get_future();
        session_->post(
            [&opened](CommandSet& commands) {
                const std::vector<std::uint8_t> area(kMacroSize, 0x5A);
                const DeviceStatus begun = commands.begin_transfer();
                const DeviceStatus first = commands.write_macro_area({area.data(), 56});
                opened.set_value();
                const DeviceStatus written =
                    begun == DeviceStatus::Success && first == DeviceStatus::Success
                        ? commands.write_macro_area(area)
                        : first;
                commands.end_transfer();
                return written;
            },
            [outcome](const JobOutcome& result) { outcome->set_value(result); });
        return finished;
    }
    static constexpr std::size_t kMacroSize = 8192;
};

TEST_F(StopRequestSessionTest, AJobCutShortEndsStoppedWithItsTransferClosed) {
    control("latency 5");
    std::promise<void> opened;
    std::future<JobOutcome> running = post_download(opened);
    bool queued_ran = false;
    std::promise<JobOutcome> queued;
    session_->post(
        [&queued_ran](CommandSet&) {
            queued_ran = true;
            return DeviceStatus::Success;
        },
        [&queued](const JobOutcome& result) { queued.set_value(result); });

    opened.get_future().wait();
    const auto stop = steady_clock::now();
    session_->request_stop();
    ASSERT_EQ(running.wait_for(2s), std::future_status::ready);
    EXPECT_LT(steady_clock::now() - stop, 500ms) << "stopped at the next command";

    const JobOutcome outcome = running.get();
    EXPECT_EQ(outcome.end, JobEnd::Stopped);
    EXPECT_EQ(outcome.status, DeviceStatus::Stopped);
    const JobOutcome dropped = queued.get_future().get();
    EXPECT_EQ(dropped.end, JobEnd::Stopped);
    EXPECT_FALSE(queued_ran);

    const std::vector<std::uint8_t> sent = sent_commands();
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent.front(), kBegin);
    EXPECT_EQ(sent.back(), kEnd);
    const auto chunks = std::count(sent.begin(), sent.end(), kWriteMacroArea);
    EXPECT_GE(chunks, 1);
    EXPECT_LT(chunks, 1 + 147) << "the macro area was not written to the end";
    EXPECT_EQ(sent.size(), static_cast<std::size_t>(chunks) + 2) << "nothing else was sent";

    const JobOutcome later = session_->run([](CommandSet&) { return DeviceStatus::Success; });
    EXPECT_EQ(later.end, JobEnd::Stopped) << "nothing runs after the stop";
}

} // namespace
} // namespace tarvenor::testing
