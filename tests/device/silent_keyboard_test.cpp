// A keyboard that stops answering ends the operation at the first command nothing answered: the
// rest of the operation sends nothing but one attempt to close an open transfer, nothing is left
// to wait for when the keyboard is released, and the next operation tries the keyboard afresh.
#include "sim_session_fixture.h"

#include <chrono>

namespace tarvenor::testing {
namespace {

using namespace std::chrono_literals;
using std::chrono::steady_clock;

class SilentKeyboardTest : public TransferTest {
protected:
    void SetUp() override {
        TransferTest::SetUp();
        block_.fill(0x11);
    }
    KeyMatrix block_{};
};

TEST_F(SilentKeyboardTest, AfterASilentCommandOnlyOneEndTransferAttemptIsSent) {
    start_learnt();
    commands_->begin_operation();
    ASSERT_EQ(commands_->begin_transfer(), DeviceStatus::Success);
    control("fault no-answer");
    EXPECT_EQ(commands_->write_profile_block(0, block_), DeviceStatus::NoAnswer);
    EXPECT_EQ(sent_commands(), (std::vector<std::uint8_t>{kBegin, kWriteProfileBlock,
                                                          kWriteProfileBlock, kWriteProfileBlock}))
        << "the first chunk's three attempts";

    clear_traffic();
    ParameterBlock parameters{};
    ReportData data{};
    EXPECT_EQ(commands_->write_profile_block(1, block_), DeviceStatus::NoAnswer);
    EXPECT_EQ(commands_->read_parameters(parameters), DeviceStatus::NoAnswer);
    EXPECT_EQ(commands_->read_settings(0, 56, data), DeviceStatus::NoAnswer);
    EXPECT_EQ(commands_->begin_transfer(), DeviceStatus::NoAnswer);
    EXPECT_TRUE(requests().empty()) << "later commands fail without a report";

    EXPECT_EQ(commands_->end_transfer(), DeviceStatus::NoAnswer);
    EXPECT_EQ(sent_commands(), std::vector<std::uint8_t>{kEnd}) << "a single attempt";
    EXPECT_EQ(commands_->end_transfer(), DeviceStatus::NoAnswer);
    EXPECT_EQ(requests().size(), 1u) << "the transfer is closed: nothing more";
    commands_->end_operation();

    // The keyboard answers again: the next operation goes through as usual.
    control("fault none");
    clear_traffic();
    commands_->begin_operation();
    EXPECT_EQ(commands_->read_parameters(parameters), DeviceStatus::Success);
    EXPECT_EQ(parameters[11], 64);
    commands_->end_operation();
    EXPECT_EQ(sent_commands(), std::vector<std::uint8_t>{kReadParameters});
}

TEST_F(SilentKeyboardTest, WithoutAnOpenTransferNothingAtAllFollowsTheSilentCommand) {
    start_learnt();
    control("fault no-answer");
    commands_->begin_operation();
    ParameterBlock parameters{};
    EXPECT_EQ(commands_->read_parameters(parameters), DeviceStatus::NoAnswer);
    EXPECT_EQ(requests().size(), 3u);
    EXPECT_EQ(commands_->end_transfer(), DeviceStatus::NoAnswer);
    EXPECT_EQ(commands_->set_current_profile(1), DeviceStatus::NoAnswer);
    EXPECT_EQ(requests().size(), 3u);
    commands_->end_operation();
}

// A BeginTransfer nobody answered may still have reached the keyboard: it is closed once.
TEST_F(SilentKeyboardTest, ASilentBeginTransferIsStillClosedOnce) {
    start_learnt();
    control("fault no-answer");
    commands_->begin_operation();
    EXPECT_EQ(commands_->begin_transfer(), DeviceStatus::NoAnswer);
    EXPECT_EQ(commands_->write_profile_block(0, block_), DeviceStatus::NoAnswer);
    EXPECT_EQ(commands_->end_transfer(), DeviceStatus::NoAnswer);
    EXPECT_EQ(sent_commands(), (std::vector<std::uint8_t>{kBegin, kBegin, kBegin, kEnd}));
    commands_->end_operation();
}

TEST_F(SilentKeyboardTest, TheClosingAttemptTellsWhetherTheKeyboardIsBackOrGone) {
    start_learnt();
    commands_->begin_operation();
    ASSERT_EQ(commands_->begin_transfer(), DeviceStatus::Success);
    control("fault no-answer 3"); // the chunk's three attempts are dropped, nothing after
    EXPECT_EQ(commands_->write_profile_block(0, block_), DeviceStatus::NoAnswer);
    EXPECT_EQ(commands_->end_transfer(), DeviceStatus::Success);
    EXPECT_EQ(requests().size(), 5u);
    commands_->end_operation();

    // Unplugged while silent: the closing finds no keyboard and says so.
    clear_traffic();
    commands_->begin_operation();
    ASSERT_EQ(commands_->begin_transfer(), DeviceStatus::Success);
    control("fault no-answer");
    EXPECT_EQ(commands_->write_profile_block(0, block_), DeviceStatus::NoAnswer);
    control("unplug");
    ASSERT_TRUE(sink_.wait_for(
        [](const auto& counts, const auto&) { return !counts.empty() && counts.back() == 0; }));
    EXPECT_EQ(commands_->end_transfer(), DeviceStatus::NoDevice);
    EXPECT_EQ(requests().size(), 4u);
    commands_->end_operation();
}

// Outside an operation (a command set of its own) every command stands alone.
TEST_F(SilentKeyboardTest, WithoutAnOperationEveryCommandIsTriedInFull) {
    start_learnt();
    control("fault no-answer");
    ParameterBlock parameters{};
    EXPECT_EQ(commands_->read_parameters(parameters), DeviceStatus::NoAnswer);
    EXPECT_EQ(commands_->read_parameters(parameters), DeviceStatus::NoAnswer);
    EXPECT_EQ(requests().size(), 6u);
}

// A keyboard that takes every report and never answers.
int one_keyboard(const HidUnitSelector*) {
    return 1;
}
int take_report(const HidUnitSelector*, const std::uint8_t*, int length) {
    return length;
}

// What a silent request leaves owed is given up: releasing the keyboard does not wait for it.
// (Answers that are only late are still awaited; see the exchange safety tests.)
TEST(SilentExchangeTest, NothingIsLeftToWaitForAfterAnUnansweredRequest) {
    HidServFunctions keyboard;
    keyboard.get_device_count = &one_keyboard;
    keyboard.write_one = &take_report;
    constexpr auto wait = 150ms;
    ReportExchange exchange(keyboard, wait);
    DeviceReport request = DeviceReport::request(kReadParameters, 44, 0);
    request.seal();
    DeviceReport answer;
    EXPECT_EQ(exchange.exchange(request.bytes, answer), DeviceStatus::NoAnswer);
    auto began = steady_clock::now();
    exchange.settle();
    EXPECT_LT(steady_clock::now() - began, wait) << "the last attempt's answer was awaited";

    began = steady_clock::now();
    EXPECT_EQ(exchange.exchange(request.bytes, answer, nullptr, 1), DeviceStatus::NoAnswer);
    exchange.settle();
    const auto single = steady_clock::now() - began;
    EXPECT_GE(single, wait);
    EXPECT_LT(single, 2 * wait) << "one attempt, nothing awaited after it";
}

// The session makes one hold of the keyboard one operation: the command line's hold spans the
// jobs run inside it, and every hold starts afresh.
using SilentSessionTest = SimSessionTest;

TEST_F(SilentSessionTest, AJobEndsAtTheSilentCommandAndTheNextJobTriesAgain) {
    control("fault no-answer");
    DeviceStatus first = DeviceStatus::Success;
    DeviceStatus second = DeviceStatus::Success;
    const JobOutcome outcome = session_->run([&](CommandSet& commands) {
        first = read(commands);
        second = read(commands);
        return second;
    });
    EXPECT_EQ(outcome.end, JobEnd::Done);
    EXPECT_EQ(outcome.status, DeviceStatus::NoAnswer);
    EXPECT_EQ(first, DeviceStatus::NoAnswer);
    EXPECT_EQ(second, DeviceStatus::NoAnswer);
    EXPECT_EQ(requests().size(), 3u);

    control("fault none");
    DeviceStatus again = DeviceStatus::NoAnswer;
    session_->run([&](CommandSet& commands) { return again = read(commands); });
    EXPECT_EQ(again, DeviceStatus::Success);
    EXPECT_EQ(requests().size(), 4u);
}

TEST_F(SilentSessionTest, AHoldOfTheKeyboardIsOneOperationForTheJobsInside) {
    std::string holder;
    ASSERT_TRUE(session_->hold_keyboard(holder)) << holder;
    control("fault no-answer");
    EXPECT_EQ(read(session_->commands()), DeviceStatus::NoAnswer);
    DeviceStatus inside = DeviceStatus::Success;
    session_->run([&](CommandSet& commands) { return inside = read(commands); });
    EXPECT_EQ(inside, DeviceStatus::NoAnswer);
    EXPECT_EQ(requests().size(), 3u) << "the job inside the hold sent nothing";
    session_->release_keyboard();

    control("fault none");
    ASSERT_TRUE(session_->hold_keyboard(holder)) << holder;
    EXPECT_EQ(read(session_->commands()), DeviceStatus::Success);
    session_->release_keyboard();
    EXPECT_EQ(requests().size(), 4u);
}

} // namespace
} // namespace tarvenor::testing
