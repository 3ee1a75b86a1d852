#include "ui/logic/profile_switch_guard.h"

#include <gtest/gtest.h>

namespace tarvenor::testing {
namespace {

TEST(ProfileSwitchGuard, RefusedWhileTheEditorOrTheQuestionIsOpen) {
    ProfileSwitchGuard guard;
    EXPECT_EQ(guard.decide(true, false), ProfileSwitchGuard::Step::Refuse);
    EXPECT_EQ(guard.decide(true, true), ProfileSwitchGuard::Step::Refuse);
    EXPECT_EQ(guard.decide(false, true), ProfileSwitchGuard::Step::AskSave);
    EXPECT_EQ(guard.decide(false, false), ProfileSwitchGuard::Step::Switch);
    guard.question_shown();
    EXPECT_EQ(guard.decide(false, true), ProfileSwitchGuard::Step::Refuse);
    guard.question_answered();
    EXPECT_EQ(guard.decide(false, true), ProfileSwitchGuard::Step::AskSave);
}

TEST(ProfileSwitchGuard, EndingTheProgramAsksLikeASwitchButTheEditorDoesNotStopIt) {
    ProfileSwitchGuard guard;
    EXPECT_EQ(guard.decide_exit(false), ProfileSwitchGuard::Step::Switch);
    EXPECT_EQ(guard.decide_exit(true), ProfileSwitchGuard::Step::AskSave);
    // Either question on screen: no second one, and the program does not end under it.
    guard.question_shown();
    EXPECT_EQ(guard.decide_exit(false), ProfileSwitchGuard::Step::Refuse);
    EXPECT_EQ(guard.decide_exit(true), ProfileSwitchGuard::Step::Refuse);
    EXPECT_EQ(guard.decide(false, true), ProfileSwitchGuard::Step::Refuse);
    guard.question_answered();
    EXPECT_EQ(guard.decide_exit(true), ProfileSwitchGuard::Step::AskSave);
}

TEST(ProfileSwitchGuard, OnlyProfilesZeroToTwoAreEverTargets) {
    EXPECT_EQ(ProfileSwitchGuard::target_of(2), 2);
    EXPECT_EQ(ProfileSwitchGuard::target_of(3), 0);
    EXPECT_EQ(ProfileSwitchGuard::target_of(5), 0);
    EXPECT_EQ(ProfileSwitchGuard::target_of(-1), 0);
}

} // namespace
} // namespace tarvenor::testing
