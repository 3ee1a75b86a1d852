// The exchange's guarantees that concern threads and timing: an answer is only ever taken for the
// request it answers, links in one process keep their answers apart, and the user interface
// thread is never allowed to wait for the keyboard.
#include "device/exchange_guard.h"
#include "device/keyboard_profile_file.h"
#include "device/notification_route.h"
#include "transfer_fixture.h"

#include <atomic>
#include <fstream>
#include <future>
#include <random>
#include <thread>

namespace tarvenor::testing {
namespace {

using namespace std::chrono_literals;
using std::chrono::steady_clock;

// A keyboard that takes every report and answers only when the test says so.
int one_keyboard(const HidUnitSelector*) {
    return 1;
}
int take_report(const HidUnitSelector*, const std::uint8_t*, int length) {
    return length;
}
HidServFunctions silent_keyboard() {
    HidServFunctions functions;
    functions.get_device_count = &one_keyboard;
    functions.write_one = &take_report;
    return functions;
}

DeviceReport parameters_answer() {
    DeviceReport answer = DeviceReport::request(3, 44, 0);
    answer.data()[11] = 64;
    return answer;
}

// An answer landing just as a wait runs out must never release a later attempt with nothing
// received. The deliverer is pushed off the processor at random points by busy threads, so its
// hand-over is cut at every point, the moment between keeping the answer and signalling it
// included.
TEST(AnswerMailboxRace, AnAnswerLandingAtATimeoutNeverReleasesALaterAttemptEmpty) {
    const HidServFunctions keyboard = silent_keyboard();
    ReportExchange exchange(keyboard, 1ms);
    std::atomic<bool> running{true};
    const DeviceReport answer = parameters_answer();
    std::thread deliverer([&] {
        while (running) {
            exchange.deliver_answer(answer.bytes.data(), answer.bytes.size());
        }
    });
    std::vector<std::thread> busy;
    for (unsigned i = 0; i < 4 * std::max(2u, std::thread::hardware_concurrency()); ++i) {
        busy.emplace_back([&] {
            while (running) {
            }
        });
    }
    int empty_successes = 0;
    int successes = 0;
    for (const auto until = steady_clock::now() + 2s; steady_clock::now() < until;) {
        DeviceReport received_answer;
        std::size_t received = 0;
        if (exchange.exchange(read_parameters_request().bytes, received_answer, &received) ==
            DeviceStatus::Success) {
            ++successes;
            empty_successes += received != 64;
        }
    }
    running = false;
    deliverer.join();
    for (std::thread& thread : busy) {
        thread.join();
    }
    EXPECT_GT(successes, 0);
    EXPECT_EQ(empty_successes, 0) << "of " << successes << " exchanges";
}

TEST(AnswerMailbox, AnswersNothingIsOwedForAreDropped) {
    AnswerMailbox mailbox(100ms);
    const DeviceReport answer = parameters_answer();
    mailbox.open();
    mailbox.deliver(answer.bytes.data(), answer.bytes.size()); // another program's answer
    DeviceReport taken;
    EXPECT_FALSE(mailbox.take(0ms, taken));
    mailbox.count_write();
    mailbox.deliver(answer.bytes.data(), answer.bytes.size());
    EXPECT_EQ(mailbox.take(0ms, taken), 64u);
    EXPECT_EQ(taken.data()[11], 64);
}

TEST(AnswerMailbox, SettlingLetsTheLateAnswersThroughOrGivesThemUp) {
    AnswerMailbox mailbox(200ms);
    mailbox.count_write();
    mailbox.count_write();
    const DeviceReport answer = parameters_answer();
    std::thread late([&] {
        std::this_thread::sleep_for(20ms);
        mailbox.deliver(answer.bytes.data(), answer.bytes.size());
        mailbox.deliver(answer.bytes.data(), answer.bytes.size());
    });
    auto began = steady_clock::now();
    mailbox.settle();
    EXPECT_LT(steady_clock::now() - began, 150ms) << "both owed answers came";
    late.join();

    mailbox.count_write(); // lost: given up after the limit
    began = steady_clock::now();
    mailbox.settle();
    EXPECT_GE(steady_clock::now() - began, 190ms);
    mailbox.open();
    mailbox.deliver(answer.bytes.data(), answer.bytes.size());
    DeviceReport taken;
    EXPECT_FALSE(mailbox.take(0ms, taken)) << "nothing is owed any more";
}

class LateAnswerTest : public TransferTest {
protected:
    Bytes pull(const std::string& name) {
        const std::filesystem::path file = folder_ / name;
        EXPECT_EQ(build_file_from_keyboard(*commands_, texts_, file), KeyboardFileResult::Written);
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

TEST_F(LateAnswerTest, APullWithAnswersSlowerThanTheWaitEqualsAPromptOne) {
    start_learnt();
    // Every key of every profile different, so that a chunk taken for another shows.
    Bytes profiles(3 * 378);
    std::mt19937 random(7);
    for (std::size_t i = 0; i < profiles.size(); i += 3) {
        profiles[i] = 2;
        profiles[i + 1] = 2;
        profiles[i + 2] = static_cast<std::uint8_t>(4 + random() % 90);
    }
    poke_memory("profiles.bin", 0, profiles);
    const Bytes prompt = pull("prompt.tvp");
    ASSERT_FALSE(prompt.empty());

    control("latency " + std::to_string(kTestAnswerWait.count() * 3 / 2));
    facts_.set_current_profile(DeviceFacts::kUnknownProfile);
    EXPECT_EQ(pull("late.tvp"), prompt);
}

using TwoLinksTest = SimKeyboardTest;

TEST_F(TwoLinksTest, EachLinkGetsTheAnswersOfItsOwnRequests) {
    start();
    RecordingSink other_sink;
    DeviceLink other(library_->functions(), other_sink, kTestAnswerWait);
    ASSERT_TRUE(other.routed());
    other.start();
    DeviceFacts other_facts;
    CommandSet other_commands(other.exchange(), other_facts);
    for (int round = 0; round < 3; ++round) {
        ParameterBlock mine{};
        ParameterBlock theirs{};
        EXPECT_EQ(commands_->read_parameters(mine), DeviceStatus::Success);
        EXPECT_EQ(other_commands.read_parameters(theirs), DeviceStatus::Success);
        EXPECT_EQ(mine[11], 64);
        EXPECT_EQ(theirs[11], 64);
    }
    EXPECT_EQ(requests().size(), 6u) << "every request answered at the first attempt";
}

// Stands in for a link: its dispatch blocks until the test lets it go.
class BlockingTarget final : public NotificationTarget {
public:
    void dispatch(const HidReadNotification&) override {
        entered.set_value();
        release.get_future().wait();
        ++dispatched;
    }
    std::promise<void> entered;
    std::promise<void> release;
    std::atomic<int> dispatched{0};
};

TEST(NotificationRouteTest, EndingARouteWaitsForTheNotificationItIsRunning) {
    BlockingTarget target;
    auto route = std::make_unique<NotificationRoute>(target);
    const HidNotifyCallback callback = route->callback();
    ASSERT_NE(callback, nullptr);
    const HidRequestRecord record{HIDSERV_TAG_CONS, 0, nullptr};
    const HidReadNotification notification{HIDSERV_KIND_CONNECTION, &record};
    std::thread library_thread([&] { callback(&notification); });
    target.entered.get_future().wait();
    auto ended = std::async(std::launch::async, [&] { route.reset(); });
    EXPECT_EQ(ended.wait_for(50ms), std::future_status::timeout);
    target.release.set_value();
    ended.wait();
    library_thread.join();
    EXPECT_EQ(target.dispatched, 1);
    callback(&notification); // a stray notification after the end reaches nobody
    EXPECT_EQ(target.dispatched, 1);
}

TEST(NotificationRouteTest, RoutesRunOutWithoutTakingAnother) {
    BlockingTarget target;
    std::vector<std::unique_ptr<NotificationRoute>> routes;
    for (std::size_t i = 0; i < NotificationRoute::kCapacity; ++i) {
        routes.push_back(std::make_unique<NotificationRoute>(target));
        ASSERT_NE(routes.back()->callback(), nullptr);
    }
    EXPECT_EQ(NotificationRoute(target).callback(), nullptr);
    routes.pop_back();
    EXPECT_NE(NotificationRoute(target).callback(), nullptr);
}

TEST(ExchangeThreadRuleDeathTest, AnExchangeOnTheForbiddenThreadEndsTheProgramNamingIt) {
    if (!exchange_thread_checks_enabled()) {
        GTEST_SKIP() << "checked in debug and sanitizer builds only";
    }
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const HidServFunctions keyboard = silent_keyboard();
    ReportExchange exchange(keyboard, 1ms);
    EXPECT_DEATH(
        {
            forbid_exchanges_on_this_thread("user interface thread");
            DeviceReport answer;
            exchange.exchange(read_parameters_request().bytes, answer);
        },
        "command 3 called on the user interface thread");
    // Other threads keep exchanging.
    DeviceReport answer;
    EXPECT_EQ(exchange.exchange(read_parameters_request().bytes, answer), DeviceStatus::NoAnswer);
}

} // namespace
} // namespace tarvenor::testing
