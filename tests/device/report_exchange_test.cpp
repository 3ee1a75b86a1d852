#include "sim_fixture.h"

#include <thread>

namespace tarvenor::testing {
namespace {

using std::chrono::steady_clock;

class ExchangeTest : public SimKeyboardTest {
protected:
    DeviceStatus exchange(DeviceReport& answer, std::size_t* received = nullptr) {
        return link_->exchange().exchange(read_parameters_request().bytes, answer, received);
    }
};

TEST_F(ExchangeTest, WithoutKeyboardEveryCallFailsAtOnceAndSendsNothing) {
    start({{"TARVENOR_SIM_UNPLUGGED", "1"}});
    const auto began = steady_clock::now();
    DeviceReport answer;
    EXPECT_EQ(exchange(answer), DeviceStatus::NoDevice);
    ParameterBlock block{};
    EXPECT_EQ(commands_->read_parameters(block), DeviceStatus::NoDevice);
    EXPECT_EQ(commands_->begin_transfer(), DeviceStatus::NoDevice);
    const Bytes area(300, 7);
    EXPECT_EQ(commands_->write_macro_area(area), DeviceStatus::NoDevice);
    EXPECT_LT(steady_clock::now() - began, kTestAnswerWait);
    EXPECT_TRUE(traffic().empty());
}

TEST_F(ExchangeTest, AnswerArrivesWithItsLength) {
    start();
    DeviceReport answer;
    std::size_t received = 0;
    ASSERT_EQ(exchange(answer, &received), DeviceStatus::Success);
    EXPECT_EQ(received, 64u);
    EXPECT_EQ(answer.command(), 3);
    EXPECT_EQ(answer.data()[11], 64); // factory macro memory: 64 units
    EXPECT_EQ(requests().size(), 1u);
}

TEST_F(ExchangeTest, KeyboardThatNeverAnswersGetsTheSameReportThreeTimes) {
    start({{"TARVENOR_SIM_FAULT", "no-answer"}});
    const auto began = steady_clock::now();
    DeviceReport answer;
    EXPECT_EQ(exchange(answer), DeviceStatus::NoAnswer);
    EXPECT_GE(steady_clock::now() - began, 3 * kTestAnswerWait);
    const auto sent = requests();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].report, read_parameters_request().bytes);
    EXPECT_EQ(sent[1].report, sent[0].report);
    EXPECT_EQ(sent[2].report, sent[0].report);
    EXPECT_EQ(traffic().size(), 3u); // and no answer at all
}

TEST_F(ExchangeTest, WrongEchoCountsAsAFailedAttempt) {
    start({{"TARVENOR_SIM_FAULT", "bad-echo"}});
    DeviceReport answer;
    EXPECT_EQ(exchange(answer), DeviceStatus::WrongAnswer);
    EXPECT_EQ(requests().size(), 3u);

    control("fault bad-echo 2");
    clear_traffic();
    ParameterBlock block{};
    EXPECT_EQ(commands_->read_parameters(block), DeviceStatus::Success);
    EXPECT_EQ(requests().size(), 3u);
    EXPECT_EQ(block[11], 64);
}

TEST_F(ExchangeTest, StatusFFThreeTimesIsAcceptedByExchangeButFailsTheCommand) {
    start({{"TARVENOR_SIM_FAULT", "status-ff 3"}});
    DeviceReport answer;
    EXPECT_EQ(exchange(answer), DeviceStatus::Success);
    EXPECT_EQ(answer.status(), 0xFF);
    EXPECT_EQ(requests().size(), 3u);

    control("fault status-ff 3");
    ParameterBlock block{};
    block.fill(0xAA);
    EXPECT_EQ(commands_->read_parameters(block), DeviceStatus::Rejected);
    EXPECT_EQ(std::count(block.begin(), block.end(), 0xAA), 44) << "a rejected read copies nothing";
}

TEST_F(ExchangeTest, StatusFFOnceThenAGoodAnswerSucceeds) {
    start({{"TARVENOR_SIM_FAULT", "status-ff 1"}});
    const ParameterBlock written = [] {
        ParameterBlock block{};
        block[10] = 1;
        block[11] = 64;
        return block;
    }();
    EXPECT_EQ(commands_->write_parameters(written), DeviceStatus::Success);
    EXPECT_EQ(requests().size(), 2u);
    EXPECT_EQ(memory("parameters.bin"), Bytes(written.begin(), written.end()));
}

TEST_F(ExchangeTest, StatusFEGivesUnknownCommandAndCopiesNothing) {
    start({{"TARVENOR_SIM_FAULT", "status-fe"}});
    ParameterBlock block{};
    block.fill(0x55);
    EXPECT_EQ(commands_->read_parameters(block), DeviceStatus::UnknownCommand);
    EXPECT_EQ(std::count(block.begin(), block.end(), 0x55), 44);
    EXPECT_EQ(requests().size(), 3u);
}

TEST_F(ExchangeTest, ShortRequestIsPaddedWithZerosTheChecksumCovers) {
    start();
    const std::uint8_t request[] = {0x04, 0x2F, 0x00, 0x03, 0x2C};
    DeviceReport answer;
    ASSERT_EQ(link_->exchange().exchange(request, answer), DeviceStatus::Success);
    const auto sent = requests();
    ASSERT_EQ(sent.size(), 1u);
    std::array<std::uint8_t, 64> expected{};
    std::copy(std::begin(request), std::end(request), expected.begin());
    EXPECT_EQ(sent[0].report, expected);
}

TEST_F(ExchangeTest, ConcurrentExchangesEachGetTheirOwnAnswer) {
    start({{"TARVENOR_SIM_LATENCY_MS", "1"}});
    const Bytes matrix_file = memory("default_matrix.bin");
    int failures = 0;
    std::thread other([&] {
        for (int i = 0; i < 10; ++i) {
            KeyMatrix matrix{};
            if (commands_->read_default_key_matrix(matrix) != DeviceStatus::Success ||
                Bytes(matrix.begin(), matrix.end()) != matrix_file) {
                ++failures;
            }
        }
    });
    for (int i = 0; i < 40; ++i) {
        ParameterBlock block{};
        EXPECT_EQ(commands_->read_parameters(block), DeviceStatus::Success);
        EXPECT_EQ(block[11], 64);
    }
    other.join();
    EXPECT_EQ(failures, 0);
}

TEST_F(ExchangeTest, PluggingAndConsumerCodesReachTheSink) {
    start();
    control("unplug");
    ASSERT_TRUE(sink_.wait_for(
        [](const auto& counts, const auto&) { return counts == std::vector<int>{0}; }));
    DeviceReport answer;
    EXPECT_EQ(exchange(answer), DeviceStatus::NoDevice);
    control("plug");
    control("consumer 0x02ff");
    control("consumer 0x1811");
    EXPECT_TRUE(sink_.wait_for([](const auto& counts, const auto& codes) {
        return counts == std::vector<int>{0, 1} &&
               codes == std::vector<std::uint16_t>{0x02FF, 0x1811};
    }));
    EXPECT_EQ(exchange(answer), DeviceStatus::Success);
}

TEST_F(ExchangeTest, StatusReportReachesTheStatusInterface) {
    start();
    EXPECT_TRUE(link_->write_status_report({0x05, 0x03}));
    EXPECT_NE(control_reply("status").find("status-report=0503"), std::string::npos);
    EXPECT_TRUE(link_->write_status_report({0x05, 0x02}));
    EXPECT_NE(control_reply("status").find("status-report=0502"), std::string::npos);
    control("unplug");
    EXPECT_FALSE(link_->write_status_report({0x05, 0x03}));
}

} // namespace
} // namespace tarvenor::testing
