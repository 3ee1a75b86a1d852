// One operation at a time per keyboard: the lock itself, between processes, and two sessions
// writing different configurations to one virtual keyboard at once.
#include "keyboard_lock_test.h"

#include "process_id.h"
#include "session_observer.h"
#include "sim_fixture.h"

#include <future>

namespace tarvenor::testing {
namespace {

using namespace std::chrono_literals;
using std::chrono::steady_clock;

TEST_F(KeyboardLockTest, ASecondHolderWaitsInVainAndLearnsWhoHasTheKeyboard) {
    KeyboardLock first(lock_file());
    KeyboardLock second(lock_file());
    std::string holder;
    ASSERT_TRUE(first.acquire(0ms, holder));
#ifndef _WIN32
    EXPECT_EQ(std::filesystem::status(lock_file().parent_path()).permissions() &
                  std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
#endif
    const auto began = steady_clock::now();
    EXPECT_FALSE(second.acquire(100ms, holder));
    EXPECT_GE(steady_clock::now() - began, 100ms);
    EXPECT_EQ(holder, "test_device (process " + std::to_string(current_process_id()) + ")");
    first.release();
    EXPECT_TRUE(second.acquire(0ms, holder));
}

TEST_F(KeyboardLockTest, AWaitingHolderGetsTheLockAsSoonAsItIsLetGo) {
    KeyboardLock first(lock_file());
    std::string holder;
    ASSERT_TRUE(first.acquire(0ms, holder));
    auto waited = std::async(std::launch::async, [&] {
        KeyboardLock second(lock_file());
        std::string busy;
        const auto began = steady_clock::now();
        const bool got = second.acquire(10s, busy);
        return got ? steady_clock::now() - began : steady_clock::duration::max();
    });
    std::this_thread::sleep_for(50ms);
    first.release();
    EXPECT_LT(waited.get(), 2s);
}

TEST_F(KeyboardLockTest, AnUnusableLockFileIsReportedNotIgnored) {
    // A file where the lock's folder should be.
    std::ofstream(folder_ / "run") << "not a folder";
    KeyboardLock lock(lock_file());
    std::string reason;
    EXPECT_FALSE(lock.acquire(0ms, reason));
    EXPECT_NE(reason.find("cannot open the keyboard lock"), std::string::npos) << reason;
}

TEST_F(KeyboardLockTest, HoldersInOneProcessTakeTurns) {
    std::vector<std::future<bool>> holders;
    for (int i = 0; i < 6; ++i) {
        holders.push_back(std::async(std::launch::async, [&] { return take_turns(); }));
    }
    for (auto& holder : holders) {
        EXPECT_TRUE(holder.get());
    }
    expect_turns_taken(60);
}

// Two sessions on one virtual keyboard, each writing its own key matrices to all three
// profiles at the same moment: the keyboard ends up holding one of them whole.
class TwoSessionsTest : public SimKeyboardTest {
protected:
    std::unique_ptr<KeyboardSession> open_session(SessionObserver& observer) {
        KeyboardSession::Options options;
        options.library_file = TARVENOR_SIM_LIBRARY;
        options.answer_wait = kTestAnswerWait;
        options.lock_file = folder_ / "keyboard.lock";
        std::string error;
        auto session = KeyboardSession::open(options, observer, error);
        EXPECT_NE(session, nullptr) << error;
        return session;
    }
};

KeyboardSession::Job write_all_profiles(std::uint8_t fill) {
    return [fill](CommandSet& commands) {
        KeyMatrix block{};
        block.fill(fill);
        commands.begin_transfer();
        for (int profile = 0; profile < kProfileCount; ++profile) {
            EXPECT_EQ(commands.write_profile_block(profile, block), DeviceStatus::Success);
        }
        return commands.end_transfer();
    };
}

TEST_F(TwoSessionsTest, WritesAtTheSameTimeLeaveOneWholeConfiguration) {
    set_environment();
    RecordingSessionObserver first_observer;
    RecordingSessionObserver second_observer;
    auto first = open_session(first_observer);
    auto second = open_session(second_observer);
    ASSERT_TRUE(first && second);
    for (KeyboardSession* session : {first.get(), second.get()}) {
        session->set_init_complete();
        session->start();
    }
    for (int run = 0; run < 20; ++run) {
        auto one = std::async(std::launch::async, [&] { first->run(write_all_profiles(0xA1)); });
        auto other = std::async(std::launch::async, [&] { second->run(write_all_profiles(0xB2)); });
        one.wait();
        other.wait();
        const Bytes profiles = memory("profiles.bin");
        ASSERT_EQ(profiles.size(), 3u * 378);
        const auto count_a = std::count(profiles.begin(), profiles.end(), 0xA1);
        const auto count_b = std::count(profiles.begin(), profiles.end(), 0xB2);
        ASSERT_TRUE(count_a == 3 * 378 || count_b == 3 * 378)
            << "run " << run << ": " << count_a << " bytes of one, " << count_b << " of the other";
    }
    // The library is shared: both sessions go before it does.
    second.reset();
    first.reset();
}

} // namespace
} // namespace tarvenor::testing
