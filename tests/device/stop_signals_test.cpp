// Stop signals, each case in a process of its own (a death test): the first signal reaches the
// watches and the process goes on with its own exit; a second one, or the time limit, ends it.
#include "device/stop_signals.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <future>
#include <thread>

namespace tarvenor {
namespace {

using namespace std::chrono_literals;
using std::chrono::steady_clock;
using ::testing::ExitedWithCode;

class StopSignalsTest : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

// Waits (in the child) for the watch to hear a signal; ends the child with the signal heard, or
// 99 when none came.
[[noreturn]] void exit_with_signal_heard(std::future<int> heard) {
    if (heard.wait_for(2s) != std::future_status::ready) {
        std::_Exit(99);
    }
    std::_Exit(heard.get());
}

TEST_F(StopSignalsTest, TheFirstSignalReachesTheWatchAndTheProcessGoesOn) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        EXPECT_EXIT(
            {
                stop_signals::install();
                std::promise<int> heard;
                const StopSignalWatch watch([&heard](int got) { heard.set_value(got); });
                std::raise(signal);
                if (stop_signals::received() != signal) {
                    std::_Exit(98);
                }
                exit_with_signal_heard(heard.get_future());
            },
            ExitedWithCode(signal), "")
            << "signal " << signal;
    }
}

TEST_F(StopSignalsTest, AWatchBegunAfterTheSignalHearsItAtOnce) {
    EXPECT_EXIT(
        {
            stop_signals::install();
            std::raise(SIGINT);
            std::promise<int> heard;
            const StopSignalWatch watch([&heard](int got) { heard.set_value(got); });
            exit_with_signal_heard(heard.get_future());
        },
        ExitedWithCode(SIGINT), "");
}

TEST_F(StopSignalsTest, ASecondSignalEndsTheProcessAtOnce) {
    EXPECT_EXIT(
        {
            stop_signals::install();
            std::raise(SIGINT);
            std::raise(SIGTERM);
            std::_Exit(0);
        },
        ExitedWithCode(stop_signals::exit_code(SIGTERM)), "");
}

TEST_F(StopSignalsTest, AShutdownThatOutlastsTheLimitIsEnded) {
    const auto began = steady_clock::now();
    EXPECT_EXIT(
        {
            stop_signals::install();
            std::raise(SIGHUP);
            std::this_thread::sleep_for(stop_signals::kShutdownLimit * 3); // a stuck shutdown
            std::_Exit(0);
        },
        ExitedWithCode(stop_signals::exit_code(SIGHUP)), "");
    const auto took = steady_clock::now() - began;
    EXPECT_GE(took, stop_signals::kShutdownLimit - 1s);
    EXPECT_LT(took, stop_signals::kShutdownLimit * 2);
}

// The end of the desktop session bounds the shutdown without a signal; a signal then ends it.
TEST_F(StopSignalsTest, ABoundedShutdownEndsOnTheLimitOrTheNextSignal) {
    EXPECT_EXIT(
        {
            stop_signals::install();
            stop_signals::bound_shutdown();
            std::this_thread::sleep_for(stop_signals::kShutdownLimit * 3);
            std::_Exit(0);
        },
        ExitedWithCode(stop_signals::exit_code(SIGTERM)), "");
    EXPECT_EXIT(
        {
            stop_signals::install();
            stop_signals::bound_shutdown();
            std::raise(SIGINT);
            std::_Exit(0);
        },
        ExitedWithCode(stop_signals::exit_code(SIGINT)), "");
}

TEST_F(StopSignalsTest, AWatchEndedWithoutASignalNeverCalls) {
    bool called = false;
    {
        const StopSignalWatch watch([&called](int) { called = true; });
    }
    EXPECT_FALSE(called);
    EXPECT_EQ(stop_signals::received(), 0);
}

} // namespace
} // namespace tarvenor
