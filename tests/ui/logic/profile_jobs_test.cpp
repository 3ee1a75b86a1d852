#include "model/key_codes.h"
#include "profile_job_fixture.h"
#include "ui/logic/apply_jobs.h"
#include "ui/logic/keyboard_refresh.h"
#include "ui/logic/profile_backup.h"
#include "ui/logic/profile_controls.h"
#include "ui/logic/profile_switch.h"

#include <algorithm>

namespace tarvenor::testing {
namespace {

constexpr std::uint8_t kBegin = 1, kEnd = 2, kWriteParameters = 4, kWriteSettings = 6,
                       kWriteProfile = 8, kWriteMacros = 10;
constexpr int kSlotA = 0x1E;
constexpr Code kFactoryA{2, 2, 0x04};

std::size_t count_of(const std::vector<std::uint8_t>& commands, std::uint8_t command) {
    return static_cast<std::size_t>(std::count(commands.begin(), commands.end(), command));
}

class ProfileJobs : public ProfileJobTest {
protected:
    // The program's state after an arrival: mirror and configuration read from the keyboard.
    void arrive() {
        ASSERT_TRUE(storage_.ensure_user_folder());
        ASSERT_TRUE(write_default_file(storage_.mirror_path()));
        const KeyboardState state = read_keyboard_state(*commands_, storage_, config_, texts_);
        ASSERT_TRUE(state.configuration_from_keyboard);
        clear_traffic();
    }
    std::uint8_t active_profile_byte() const { return memory("parameters.bin").at(10); }
};

TEST_F(ProfileJobs, ReportRateTwoWritesOneFramedByteAtPanelProfileTimes42Plus15) {
    start_learnt();
    const Bytes before = memory("settings.bin");
    EXPECT_EQ(write_report_rate(*commands_, 1, 2), DeviceStatus::Success);

    ASSERT_EQ(sent_commands(), (std::vector<std::uint8_t>{kBegin, kWriteSettings, kEnd}));
    const TrafficLine write = requests()[1];
    EXPECT_EQ(address_of(write), 1 * 42 + 15);
    EXPECT_EQ(write.report[4], 1); // one byte
    Bytes expected = before;
    expected[57] = 2;
    EXPECT_EQ(memory("settings.bin"), expected);
}

TEST_F(ProfileJobs, SwitchWithoutChangesOnlyRewritesTheActiveProfileByte) {
    start_learnt();
    arrive();
    ProfileJobContext jobs = context();
    const SwitchResult result = run_profile_switch(*commands_, jobs, 2, SaveAnswer::NothingToSave);
    EXPECT_TRUE(result.switched);
    EXPECT_EQ(result.current_profile, 2);
    EXPECT_EQ(active_profile_byte(), 2);
    EXPECT_EQ(count_of(sent_commands(), kWriteProfile), 0u);
    EXPECT_EQ(count_of(sent_commands(), kWriteParameters), 1u);
}

TEST_F(ProfileJobs, SwitchAnsweredYesDownloadsTheStillActiveProfileFirst) {
    start_learnt();
    arrive();
    assign(0, kSlotA, typed(AssignmentType::Disabled));
    ProfileJobContext jobs = context();
    const SwitchResult result = run_profile_switch(*commands_, jobs, 1, SaveAnswer::Save);
    EXPECT_TRUE(result.saved);
    EXPECT_TRUE(result.switched);
    EXPECT_EQ(active_profile_byte(), 1);
    EXPECT_EQ(stored_code(0, factory_position(kFactoryA)), (Code{0, 0, 0}));
    // The mirror now holds what the keyboard holds.
    Configuration mirror;
    ASSERT_TRUE(load_profile_file(storage_.mirror_path(), mirror));
    EXPECT_TRUE(mirror.entry(flat_entry(0, kSlotA)).is(AssignmentType::Disabled));
    const auto commands = sent_commands();
    EXPECT_EQ(count_of(commands, kWriteProfile), 7u); // profile 0 alone
    EXPECT_EQ(commands.back(), 4);                    // the switch comes last
}

TEST_F(ProfileJobs, SwitchAnsweredNoDropsTheEditsAndWritesNoKeyCodes) {
    start_learnt();
    arrive();
    assign(0, kSlotA, typed(AssignmentType::Disabled));
    ProfileJobContext jobs = context();
    const SwitchResult result = run_profile_switch(*commands_, jobs, 1, SaveAnswer::Discard);
    EXPECT_TRUE(result.switched);
    EXPECT_FALSE(result.saved);
    EXPECT_EQ(active_profile_byte(), 1);
    EXPECT_TRUE(entry(0, kSlotA).is(AssignmentType::Default));
    EXPECT_EQ(stored_code(0, factory_position(kFactoryA)), kFactoryA);
    EXPECT_EQ(count_of(sent_commands(), kWriteProfile), 0u);
    EXPECT_EQ(count_of(sent_commands(), kWriteMacros), 0u);
}

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

TEST(ProfileSwitchGuard, OnlyProfilesZeroToTwoAreEverTargets) {
    EXPECT_EQ(ProfileSwitchGuard::target_of(2), 2);
    EXPECT_EQ(ProfileSwitchGuard::target_of(3), 0);
    EXPECT_EQ(ProfileSwitchGuard::target_of(5), 0);
    EXPECT_EQ(ProfileSwitchGuard::target_of(-1), 0);
}

TEST_F(ProfileJobs, ProfileChoiceOfNoRowSendsNoProfileAndRebuilds) {
    start_learnt();
    arrive();
    assign(0, kSlotA, typed(AssignmentType::Disabled));
    ProfileJobContext jobs = context();
    const KeyboardState state = run_profile_choice(*commands_, jobs, std::nullopt);
    EXPECT_EQ(count_of(sent_commands(), kWriteParameters), 0u);
    EXPECT_TRUE(state.configuration_from_keyboard);
    EXPECT_EQ(state.current_profile, 0);
    EXPECT_TRUE(entry(0, kSlotA).is(AssignmentType::Default));
}

TEST_F(ProfileJobs, FailedApplyKeepsTheMirrorAndSaysSo) {
    start_learnt();
    arrive();
    const Bytes mirror_before = file_bytes(storage_.mirror_path());
    assign(0, kSlotA, typed(AssignmentType::Disabled));
    control("fault status-ff 3 3"); // the second chunk of profile 0's key codes
    ProfileJobContext jobs = context();
    EXPECT_FALSE(apply_changes(*commands_, jobs));
    EXPECT_EQ(file_bytes(storage_.mirror_path()), mirror_before);
}

TEST_F(ProfileJobs, DamagedImportChangesNothingAndSendsNothing) {
    start_learnt();
    arrive();
    assign(1, kSlotA, typed(AssignmentType::Disabled));
    Bytes bytes = serialise_profile_file(config_);
    bytes[31] ^= 1; // checksum
    const auto damaged = folder_ / "damaged.tvp";
    ASSERT_TRUE(write_profile_bytes(damaged, bytes));
    install_default();
    const Bytes mirror_before = file_bytes(storage_.mirror_path());
    const Bytes profiles_before = memory("profiles.bin");

    ProfileJobContext jobs = context();
    const ImportResult result = import_profile(*commands_, jobs, damaged);
    EXPECT_EQ(result.outcome, ImportResult::Outcome::NotValid);
    EXPECT_EQ(messages_.shown,
              (std::vector<Message>{Message::ProfileFormatError, Message::ImportFailed}));
    EXPECT_TRUE(requests().empty());
    EXPECT_TRUE(entry(1, kSlotA).is(AssignmentType::Default));
    EXPECT_EQ(file_bytes(storage_.mirror_path()), mirror_before);
    EXPECT_EQ(memory("profiles.bin"), profiles_before);
    EXPECT_TRUE(KeyboardCopies(storage_).list().empty());
}

class ImportJobs : public ProfileJobs {
protected:
    // A file disabling A in profile 1 and holding one macro, with the configuration back at
    // the keyboard's content.
    std::filesystem::path import_file() {
        assign(1, kSlotA, typed(AssignmentType::Disabled));
        {
            std::scoped_lock lock(config_.lock());
            config_.macros() = {make_macro(1, u"Mac", 4)};
        }
        const auto file = folder_ / "import.tvp";
        EXPECT_TRUE(save_profile_file(file, config_, true));
        arrive();
        return file;
    }
};

TEST_F(ImportJobs, ImportWritesAllThreeProfilesAndTheMacrosAfterKeepingACopy) {
    start_learnt();
    arrive();
    const auto file = import_file();
    const Bytes held_before = memory("profiles.bin");
    ProfileJobContext jobs = context();
    const ImportResult result = import_profile(*commands_, jobs, file);
    ASSERT_EQ(result.outcome, ImportResult::Outcome::Imported);

    EXPECT_EQ(stored_code(1, factory_position(kFactoryA)), (Code{0, 0, 0}));
    const Bytes macros = memory("macros.bin");
    EXPECT_EQ(macros.at(0) | macros.at(1) << 8, 0x55AA);
    EXPECT_EQ(macros.at(4), 1); // one macro
    EXPECT_EQ(count_of(sent_commands(), kWriteProfile), 21u);
    EXPECT_TRUE(entry(1, kSlotA).is(AssignmentType::Disabled));
    Configuration mirror;
    ASSERT_TRUE(load_profile_file(storage_.mirror_path(), mirror));
    EXPECT_TRUE(mirror.entry(flat_entry(1, kSlotA)).is(AssignmentType::Disabled));
    // The copy holds what the keyboard held before.
    ASSERT_TRUE(result.copy);
    Configuration copy;
    ASSERT_TRUE(load_profile_file(*result.copy, copy));
    EXPECT_TRUE(copy.entry(flat_entry(1, kSlotA)).is(AssignmentType::Default));
    EXPECT_NE(memory("profiles.bin"), held_before);
}

TEST_F(ImportJobs, ImportFailingHalfWayLeavesConfigurationAndMirrorAsTheKeyboardHoldsThem) {
    start_learnt();
    arrive();
    const auto file = import_file();
    // Copy: 3 x 7 profile chunks + the macro header; then Begin, one macro chunk, profile 0's
    // seven chunks: profile 1's first chunk fails.
    control("fault status-ff 3 " + std::to_string(22 + 1 + 1 + 7));
    ProfileJobContext jobs = context();
    const ImportResult result = import_profile(*commands_, jobs, file);
    ASSERT_EQ(result.outcome, ImportResult::Outcome::DownloadFailed);
    EXPECT_TRUE(result.state.configuration_from_keyboard);

    // Macro memory took the block, profile 1 kept its codes: the program shows that.
    const Bytes macros = memory("macros.bin");
    EXPECT_EQ(macros.at(0) | macros.at(1) << 8, 0x55AA);
    EXPECT_EQ(config_.macros().size(), 1u);
    EXPECT_TRUE(entry(1, kSlotA).is(AssignmentType::Default));
    EXPECT_EQ(stored_code(1, factory_position(kFactoryA)), kFactoryA);
    Configuration mirror;
    ASSERT_TRUE(load_profile_file(storage_.mirror_path(), mirror));
    EXPECT_EQ(mirror.macros().size(), 1u);
    EXPECT_TRUE(mirror.entry(flat_entry(1, kSlotA)).is(AssignmentType::Default));
}

TEST_F(ImportJobs, ImportWithoutACopyOfTheKeyboardSendsNothing) {
    start_learnt();
    arrive();
    const auto file = import_file();
    control("fault status-ff 3 0");
    ProfileJobContext jobs = context();
    const ImportResult result = import_profile(*commands_, jobs, file);
    EXPECT_EQ(result.outcome, ImportResult::Outcome::KeyboardUnread);
    EXPECT_EQ(count_of(sent_commands(), kWriteProfile), 0u);
    EXPECT_EQ(count_of(sent_commands(), kWriteMacros), 0u);
    EXPECT_TRUE(KeyboardCopies(storage_).list().empty());
}

TEST_F(ProfileJobs, RestoreDefaultsResetsTheDrawnKeysAndTheBankKeepingACopy) {
    start_learnt();
    arrive();
    assign(0, kSlotA, typed(AssignmentType::Disabled));
    assign(0, g_button_slot(2, 1), typed(AssignmentType::Macro, 1));
    assign(0, g_button_slot(2, 0), typed(AssignmentType::Macro, 1));
    assign(1, kSlotA, typed(AssignmentType::Disabled));
    EXPECT_FALSE(reset_all_assignments(config_, -1, 0));
    ASSERT_TRUE(reset_all_assignments(config_, 0, 1));
    EXPECT_TRUE(entry(0, kSlotA).is(AssignmentType::Default));
    EXPECT_TRUE(entry(0, g_button_slot(2, 1)).is(AssignmentType::Default));
    EXPECT_EQ(entry(0, g_button_slot(2, 1)).aux_code, g_button_code(11));
    EXPECT_TRUE(entry(0, g_button_slot(2, 0)).is(AssignmentType::Macro)); // other bank
    EXPECT_TRUE(entry(1, kSlotA).is(AssignmentType::Disabled));           // other profile

    ProfileJobContext jobs = context();
    const KeptApply kept = apply_changes_keeping_copy(*commands_, jobs);
    EXPECT_TRUE(kept.applied);
    ASSERT_TRUE(kept.copy);
    EXPECT_TRUE(std::filesystem::exists(*kept.copy));
}

TEST_F(ProfileJobs, OnlyTheNewestCopiesOfTheKeyboardAreKept) {
    start_learnt();
    const KeyboardCopies copies(storage_);
    const auto start = std::chrono::system_clock::now();
    std::vector<std::filesystem::path> made;
    for (int i = 0; i < 7; ++i) {
        const auto made_at = start + std::chrono::seconds(i / 2); // two per second
        const auto copy = copies.keep(*commands_, texts_, made_at);
        ASSERT_TRUE(copy);
        made.push_back(*copy);
    }
    EXPECT_EQ(copies.list(), std::vector(made.end() - 5, made.end()));
    control("fault status-ff 3 0");
    EXPECT_FALSE(copies.keep(*commands_, texts_, start + std::chrono::seconds(9)));
    EXPECT_EQ(copies.list().size(), 5u);
}

} // namespace
} // namespace tarvenor::testing
