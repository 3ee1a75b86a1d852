#include "ui/logic/focus_follow.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tarvenor {
namespace {

using namespace std::chrono_literals;
using Policy = FocusFollowPolicy;
using Why = Policy::State::Why;

const FocusedWindow kShooter{"shooter", "Shooter", "", ""};
const FocusedWindow kEditor{"xedit", "Xedit", "", ""};
const FocusedWindow kBrowser{"browser", "Browser", "", ""};

// The policy with a test clock, and the keyboard it drives: every switch it asks for is taken
// (unless told otherwise) and counted.
class FocusFollow : public ::testing::Test {
protected:
    FocusFollow() {
        ProfileRules rules;
        rules.rules = {{"shooter", 1}, {"xedit", 2}};
        rules.default_profile = 0;
        policy.set_rules(rules, now);
        policy.keyboard_profile(0);
    }

    void focus(const FocusedWindow& window) { policy.focus_changed(window, now); }

    // Lets time pass as the program would: it asks again whenever the policy named a time, and
    // carries out the switches it asks for.
    void run_for(std::chrono::milliseconds span) {
        const Policy::Time end = now + span;
        for (;;) {
            const Policy::Step step = policy.next(now, blocked);
            if (step.switch_to) {
                writes.push_back(*step.switch_to);
                write_times.push_back(now);
                const bool taken = failures == 0;
                failures = std::max(failures - 1, 0);
                policy.switch_ended(taken ? *step.switch_to : keyboard_before(*step.switch_to));
                continue;
            }
            if (!step.wake_at || *step.wake_at > end) {
                break;
            }
            now = *step.wake_at;
        }
        now = end;
    }

    int keyboard_before(int) const { return policy.state().profile; }

    Policy policy;
    Policy::Time now{};
    std::vector<int> writes;
    std::vector<Policy::Time> write_times;
    bool blocked = false;
    int failures = 0; // switches to come that the keyboard does not take
};

TEST_F(FocusFollow, SwitchesOnlyOnceTheFocusHasRested) {
    focus(kShooter);
    run_for(999ms);
    EXPECT_TRUE(writes.empty());
    run_for(1ms);
    EXPECT_EQ(writes, std::vector<int>{1});
    EXPECT_EQ(policy.state().why, Why::Rule);
    EXPECT_EQ(policy.state().application, "shooter");
    EXPECT_EQ(policy.state().profile, 1);
}

TEST_F(FocusFollow, AltTabThroughManyWindowsWritesOneSwitch) {
    for (const FocusedWindow* window : {&kEditor, &kBrowser, &kShooter, &kEditor, &kShooter}) {
        focus(*window);
        run_for(200ms);
    }
    run_for(5s);
    EXPECT_EQ(writes, std::vector<int>{1});
}

TEST_F(FocusFollow, NothingIsWrittenWhenTheProfileIsAlreadyRight) {
    focus(kBrowser); // the default, 1, is active
    run_for(10s);
    focus(kShooter);
    run_for(2s);
    focus(FocusedWindow{"other", "Other", "", ""});
    focus(kShooter); // back before it rested: still profile 2
    run_for(10s);
    EXPECT_EQ(writes, std::vector<int>{1});
}

TEST_F(FocusFollow, SwitchesKeepAMinimumIntervalAndStillFollowWithinFourSeconds) {
    focus(kShooter);
    run_for(1s);
    ASSERT_EQ(writes.size(), 1u);
    focus(kEditor);
    run_for(2999ms); // the first write was at the moment of this focus change
    EXPECT_EQ(writes.size(), 1u);
    run_for(1ms);
    EXPECT_EQ(writes, (std::vector<int>{1, 2}));
    // A busy hour of focus changes: at most one write per interval, however fast they come.
    writes.clear();
    for (int change = 0; change < 3600; ++change) {
        focus(change % 2 == 0 ? kShooter : kEditor);
        run_for(1s);
    }
    EXPECT_LE(writes.size(), 3600u / 3 + 1);
    EXPECT_GE(writes.size(), 3600u / 4);
}

TEST_F(FocusFollow, TheLongestWaitAfterTheFocusRestsIsTheInterval) {
    focus(kShooter);
    run_for(1s);
    focus(kEditor);
    const Policy::Time changed = now;
    run_for(10s);
    ASSERT_EQ(write_times.size(), 2u);
    // Right after a write: the interval, not rest plus interval.
    EXPECT_EQ(write_times[1] - changed, Policy::kMinInterval);
    // Long after the last write: the rest alone.
    focus(kShooter);
    const Policy::Time later = now;
    run_for(10s);
    ASSERT_EQ(write_times.size(), 3u);
    EXPECT_EQ(write_times[2] - later, Policy::kRest);
}

TEST_F(FocusFollow, AProfileChosenByHandWinsUntilTheFocusMoves) {
    focus(kShooter);
    run_for(2s);
    policy.chosen_by_hand(2);
    run_for(30s);
    EXPECT_EQ(writes, std::vector<int>{1});
    EXPECT_EQ(policy.state().why, Why::Manual);
    EXPECT_EQ(policy.state().profile, 2);
    focus(kBrowser);
    run_for(5s);
    EXPECT_EQ(writes, (std::vector<int>{1, 0}));
    EXPECT_EQ(policy.state().why, Why::Default);
}

TEST_F(FocusFollow, AChoiceByHandBeforeTheFocusRestedCancelsTheSwitch) {
    focus(kShooter);
    run_for(500ms);
    policy.chosen_by_hand(0);
    run_for(10s);
    EXPECT_TRUE(writes.empty());
}

TEST_F(FocusFollow, ABlockedSwitchWaitsAndFollowsWhenAskedAgain) {
    blocked = true;
    focus(kShooter);
    run_for(10s);
    EXPECT_TRUE(writes.empty());
    // The program asks again once the dialog closed or the Apply ended.
    blocked = false;
    run_for(0ms);
    EXPECT_EQ(writes, std::vector<int>{1});
}

TEST_F(FocusFollow, ASwitchTheKeyboardDidNotTakeIsRetriedAfterTheIntervalAFewTimesAtMost) {
    failures = 1;
    focus(kShooter);
    run_for(60s);
    ASSERT_EQ(writes, (std::vector<int>{1, 1}));
    EXPECT_EQ(write_times[1] - write_times[0], Policy::kMinInterval);
    EXPECT_EQ(policy.state().why, Why::Rule);

    failures = 100;
    focus(kEditor);
    run_for(60s);
    EXPECT_EQ(writes, (std::vector<int>{1, 1, 2, 2, 2}));
    EXPECT_EQ(policy.state().profile, 1);

    // The next focus change has its own attempts.
    failures = 0;
    focus(kBrowser);
    run_for(5s);
    EXPECT_EQ(writes, (std::vector<int>{1, 1, 2, 2, 2, 0}));
}

TEST_F(FocusFollow, AProfileChosenByHandDuringAFailingSwitchIsNotFought) {
    focus(kShooter);
    now += 1s;
    ASSERT_EQ(policy.next(now, false).switch_to, 1);
    policy.chosen_by_hand(2);
    policy.switch_ended(2);
    run_for(60s);
    EXPECT_TRUE(writes.empty());
    EXPECT_EQ(policy.state().why, Why::Manual);
}

TEST_F(FocusFollow, AFocusChangeDuringASwitchIsDecidedAfterIt) {
    focus(kShooter);
    now += 1s;
    // Asked, but not yet ended on the keyboard's worker.
    ASSERT_EQ(policy.next(now, false).switch_to, 1);
    focus(kEditor);
    now += 5s;
    EXPECT_FALSE(policy.next(now, false).switch_to);
    policy.switch_ended(1);
    run_for(5s);
    EXPECT_EQ(writes, std::vector<int>{2});
    EXPECT_EQ(policy.state().profile, 2);
}

TEST_F(FocusFollow, KeepLeavesTheProfileAsItIs) {
    ProfileRules rules = policy.rules();
    rules.default_profile.reset();
    policy.set_rules(rules, now);
    policy.keyboard_profile(2);
    focus(kBrowser);
    run_for(10s);
    EXPECT_TRUE(writes.empty());
    EXPECT_EQ(policy.state().why, Why::Unchanged);
}

TEST_F(FocusFollow, PausedOrOffItWritesNothingAndResumingFollowsTheWindowInFront) {
    policy.set_paused(true, now);
    focus(kShooter);
    run_for(10s);
    EXPECT_TRUE(writes.empty());
    EXPECT_EQ(policy.state().why, Why::Paused);
    policy.set_paused(false, now);
    run_for(1s);
    EXPECT_EQ(writes, std::vector<int>{1});

    ProfileRules off = policy.rules();
    off.enabled = false;
    policy.set_rules(off, now);
    focus(kEditor);
    run_for(10s);
    EXPECT_EQ(writes, std::vector<int>{1});
    EXPECT_EQ(policy.state().why, Why::Off);
}

TEST_F(FocusFollow, ChangedRulesApplyToTheWindowInFront) {
    focus(kBrowser);
    run_for(5s);
    ProfileRules rules = policy.rules();
    rules.set("browser", 2);
    policy.set_rules(rules, now);
    run_for(1s);
    EXPECT_EQ(writes, std::vector<int>{2});
    EXPECT_EQ(policy.state().application, "browser");
}

TEST_F(FocusFollow, WithoutAWindowYetNothingHappens) {
    run_for(10s);
    EXPECT_TRUE(writes.empty());
    EXPECT_EQ(policy.next(now, false).wake_at, std::nullopt);
}

} // namespace
} // namespace tarvenor
