// The session's connection handling, keyboard events and job order, against a scripted service
// library whose keyboard never answers a command (arrival reads fail quickly) and whose
// notifications the test sends itself, so that the test's thread is the library's thread.
#include "device/dynamic_library.h"
#include "process_id.h"
#include "session_observer.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace tarvenor::testing {
namespace {

using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

class KeyboardSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = make_temp_folder("tarvenor-session");
        ASSERT_FALSE(folder_.empty());
        options_.library_file = FAKE_HIDSERV_SCRIPTED;
        options_.answer_wait = 5ms;
        options_.lock_file = folder_ / "keyboard.lock";
    }
    void TearDown() override {
        session_.reset();
        std::filesystem::remove_all(folder_);
    }

    // Opens a session with `keyboards` connected (without a notification).
    void open(int keyboards) {
        std::string error;
        session_ = KeyboardSession::open(options_, observer_, error);
        ASSERT_NE(session_, nullptr) << error;
        // The session's library: loading it again hands out the same instance.
        library_ = DynamicLibrary::open(FAKE_HIDSERV_SCRIPTED, error);
        ASSERT_NE(library_, nullptr) << error;
        connect_ = reinterpret_cast<void (*)(int, int)>(library_->symbol("FakeConnect"));
        consumer_ = reinterpret_cast<void (*)(std::uint16_t)>(library_->symbol("FakeConsumerCode"));
        status_report_ =
            reinterpret_cast<std::uint32_t (*)()>(library_->symbol("FakeStatusReport"));
        ASSERT_TRUE(connect_ && consumer_ && status_report_);
        connect_(keyboards, 0);
    }
    // Everything posted before has run once this returns.
    void drain_worker() {
        session_->run([](CommandSet&) { return DeviceStatus::Success; });
    }

    std::filesystem::path folder_;
    KeyboardSession::Options options_;
    RecordingSessionObserver observer_;
    std::unique_ptr<KeyboardSession> session_;
    std::unique_ptr<DynamicLibrary> library_;
    void (*connect_)(int, int) = nullptr;
    void (*consumer_)(std::uint16_t) = nullptr;
    std::uint32_t (*status_report_)() = nullptr;
};

TEST_F(KeyboardSessionTest, KeyboardAtStartIsReadThenAnnouncedOnceStartUpHasFinished) {
    open(1);
    EXPECT_EQ(session_->start(), 1);
    ASSERT_TRUE(observer_.wait_for("arrived matrix=0")); // this keyboard never answers
    // Jobs posted now wait behind the connection handling, which waits for the owner.
    EXPECT_FALSE(observer_.wait_for("count 1", 100ms)) << "waits for the owner's start-up";
    EXPECT_EQ(session_->connected_count(), 0);

    session_->set_init_complete();
    ASSERT_TRUE(observer_.wait_for("open"));
    EXPECT_EQ(observer_.lines(), (Lines{"arrived matrix=0", "count 1", "open"}));
    EXPECT_EQ(session_->connected_count(), 1);
    EXPECT_NE(observer_.thread_of("arrived matrix=0"), std::this_thread::get_id());
    EXPECT_EQ(observer_.thread_of("open"), observer_.thread_of("arrived matrix=0"));
}

TEST_F(KeyboardSessionTest, PluggingFollowsTheCountAndOpensOnlyForTheFirstKeyboard) {
    open(1);
    session_->set_init_complete();
    session_->start();
    ASSERT_TRUE(observer_.wait_for("open"));

    connect_(1, 1); // the same count again
    drain_worker();
    EXPECT_EQ(observer_.lines().size(), 3u);

    connect_(0, 1);
    ASSERT_TRUE(observer_.wait_for("count 0"));
    EXPECT_EQ(session_->facts().current_profile(), DeviceFacts::kUnknownProfile);
    connect_(1, 1);
    drain_worker();
    EXPECT_EQ(observer_.lines(), (Lines{"arrived matrix=0", "count 1", "open", "gone", "count 0",
                                        "arrived matrix=0", "count 1"}));
}

TEST_F(KeyboardSessionTest, QuietStartOrNoKeyboardAtStartNeverAsksToOpen) {
    options_.quiet_start = true;
    open(1);
    session_->set_init_complete();
    session_->start();
    drain_worker();
    EXPECT_EQ(observer_.lines(), (Lines{"arrived matrix=0", "count 1"}));

    session_.reset();
    options_.quiet_start = false;
    open(0);
    EXPECT_EQ(session_->start(), 0);
    session_->set_init_complete();
    drain_worker();
    EXPECT_TRUE(observer_.lines().size() == 2u) << "no keyboard: nothing to handle";
    connect_(1, 1);
    drain_worker();
    EXPECT_EQ(observer_.lines(),
              (Lines{"arrived matrix=0", "count 1", "arrived matrix=0", "count 1"}));
}

TEST_F(KeyboardSessionTest, BankSwitchesWriteTheBankReportAndComeBackToBankA) {
    open(1);
    session_->start();
    consumer_(0x02FF);
    EXPECT_EQ(status_report_(), 0x0305u); // [0x05, 0x03]: bank B
    consumer_(0x02FF);
    EXPECT_EQ(status_report_(), 0x0205u); // [0x05, 0x02]: bank A again
    const Lines lines = observer_.lines();
    EXPECT_EQ(Lines(lines.end() - 2, lines.end()), (Lines{"bank 1", "bank 0"}));
    EXPECT_EQ(observer_.thread_of("bank 1"), std::this_thread::get_id()) << "never queued";
}

TEST_F(KeyboardSessionTest, RefreshRequestsGoToTheWorkerAndIndicatorsAreHandedOnAtOnce) {
    open(0);
    session_->start();
    consumer_(0x0401);
    consumer_(0x1811);
    consumer_(0x1801); // no reaction
    consumer_(0x1810);
    drain_worker();
    Lines lines = observer_.lines(); // the refresh runs on the worker, in its own time
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (Lines{"indicator off", "indicator on", "refresh"}));
    EXPECT_LT(observer_.lines_index("indicator on"), observer_.lines_index("indicator off"));
    EXPECT_EQ(observer_.thread_of("indicator on"), std::this_thread::get_id());
    EXPECT_NE(observer_.thread_of("refresh"), std::this_thread::get_id());
}

TEST_F(KeyboardSessionTest, JobsRunOneAfterAnotherInOrderOnTheWorker) {
    open(0);
    session_->start();
    std::vector<int> order;
    std::vector<std::thread::id> threads;
    std::vector<JobEnd> ends;
    std::vector<std::thread::id> finished_threads;
    for (int i = 0; i < 50; ++i) {
        session_->post(
            [&, i](CommandSet&) {
                order.push_back(i);
                threads.push_back(std::this_thread::get_id());
                return DeviceStatus::Success;
            },
            [&, i](const JobOutcome& outcome) {
                ends.push_back(outcome.end);
                finished_threads.push_back(std::this_thread::get_id());
                EXPECT_EQ(order.back(), i) << "each job ends before the next runs";
            });
    }
    drain_worker();
    std::vector<int> expected(50);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(order, expected);
    EXPECT_EQ(std::count(threads.begin(), threads.end(), threads.front()), 50);
    EXPECT_NE(threads.front(), std::this_thread::get_id());
    EXPECT_EQ(ends, std::vector<JobEnd>(50, JobEnd::Done)) << "exactly one outcome each";
    EXPECT_EQ(finished_threads, threads);
}

TEST_F(KeyboardSessionTest, AJobRunsWithTheKeyboardLockHeld) {
    open(0);
    session_->start();
    std::string holder;
    bool other_got_it = true;
    session_->run([&](CommandSet&) {
        KeyboardLock other(options_.lock_file);
        other_got_it = other.acquire(0ms, holder);
        return DeviceStatus::Success;
    });
    EXPECT_FALSE(other_got_it);
    EXPECT_NE(holder.find("process " + std::to_string(current_process_id())), std::string::npos)
        << holder;
    KeyboardLock after(options_.lock_file);
    EXPECT_TRUE(after.acquire(0ms, holder)) << "released when the job ended";
}

TEST_F(KeyboardSessionTest, ABusyKeyboardSkipsTheJobAndItsOutcomeSaysWhoHasIt) {
    options_.lock_patience = 20ms;
    open(0);
    session_->start();
    KeyboardLock other(options_.lock_file);
    std::string holder;
    ASSERT_TRUE(other.acquire(0ms, holder));
    bool ran = false;
    const JobOutcome outcome = session_->run([&](CommandSet&) {
        ran = true;
        return DeviceStatus::Success;
    });
    EXPECT_FALSE(ran);
    EXPECT_EQ(outcome.end, JobEnd::Busy);
    EXPECT_EQ(outcome.holder, "test_device (process " + std::to_string(current_process_id()) + ")");
    EXPECT_TRUE(observer_.lines().empty()) << "told to the poster alone";

    other.release();
    EXPECT_TRUE(session_->run([](CommandSet&) { return DeviceStatus::Success; }).succeeded());
    EXPECT_EQ(session_->run([](CommandSet&) { return DeviceStatus::NoDevice; }).end, JobEnd::Gone);
    EXPECT_EQ(session_->run([](CommandSet&) { return DeviceStatus::Rejected; }).status,
              DeviceStatus::Rejected);
}

TEST_F(KeyboardSessionTest, AnArrivalWhileAnotherProgramHoldsTheKeyboardIsReadOnceItLetsGo) {
    options_.lock_patience = 20ms;
    open(1);
    KeyboardLock other(options_.lock_file);
    std::string holder;
    ASSERT_TRUE(other.acquire(0ms, holder));
    session_->set_init_complete();
    session_->start();
    ASSERT_TRUE(observer_.wait_for("count 1")) << "counted although not read";
    EXPECT_EQ(observer_.lines_index("arrived matrix=0"), observer_.lines().size());
    EXPECT_LT(observer_.lines_index("busy test_device (process " +
                                    std::to_string(current_process_id()) + ")"),
              observer_.lines().size());
    other.release();
    EXPECT_TRUE(observer_.wait_for("arrived matrix=0")) << "read again when it can";
}

TEST_F(KeyboardSessionTest, TheCommandLineLearnsTheKeyboardAtStartAndHearsNothingLater) {
    options_.follow_connections = false;
    options_.quiet_start = true;
    open(1);
    const std::uint32_t report_before = status_report_();
    EXPECT_EQ(session_->start(), 1);
    EXPECT_EQ(observer_.lines(), (Lines{"arrived matrix=0", "count 1"}))
        << "done when start returns";
    consumer_(0x02FF);
    connect_(0, 1);
    drain_worker();
    EXPECT_EQ(observer_.lines().size(), 2u);
    EXPECT_EQ(status_report_(), report_before) << "no bank report written";
}

TEST_F(KeyboardSessionTest, EndingASessionThatWaitsForStartUpDoesNotHang) {
    open(1);
    session_->start();
    ASSERT_TRUE(observer_.wait_for("arrived matrix=0"));
    std::vector<JobEnd> ends;
    session_->post(
        [](CommandSet&) {
            ADD_FAILURE() << "queued jobs are dropped at the end";
            return DeviceStatus::Success;
        },
        [&ends](const JobOutcome& outcome) { ends.push_back(outcome.end); });
    session_.reset();
    EXPECT_EQ(observer_.lines(), Lines{"arrived matrix=0"});
    EXPECT_EQ(ends, std::vector<JobEnd>{JobEnd::Stopped}) << "a dropped job still ends";
}

} // namespace
} // namespace tarvenor::testing
