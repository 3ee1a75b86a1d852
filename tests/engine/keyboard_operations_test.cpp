// The keyboard operations on the virtual keyboard: what reaches its memory and the files.
#include "engine/apply.h"
#include "engine/arrival_read.h"
#include "engine/keyboard_copies.h"
#include "engine/lighting_io.h"
#include "engine/profile_switch.h"
#include "model/key_codes.h"
#include "operation_fixture.h"

#include <algorithm>
#include <fstream>

namespace tarvenor::testing {
namespace {

constexpr std::uint8_t kBegin = 1, kEnd = 2, kWriteParameters = 4, kWriteSettings = 6,
                       kWriteProfile = 8, kWriteMacros = 10;
constexpr int kSlotA = 0x1E;
constexpr Code kFactoryA{2, 2, 0x04};

std::size_t count_of(const std::vector<std::uint8_t>& commands, std::uint8_t command) {
    return static_cast<std::size_t>(std::count(commands.begin(), commands.end(), command));
}

class ProfileJobs : public OperationTest {
protected:
    // The program's state after an arrival: mirror and configuration read from the keyboard.
    void arrive() {
        ASSERT_TRUE(storage_.ensure_user_folder());
        ASSERT_TRUE(write_default_file(storage_.mirror_path()));
        KeyboardState state = read_keyboard_state(*commands_, storage_, texts_);
        ASSERT_TRUE(state.configuration);
        config_.replace(std::move(*state.configuration));
        clear_traffic();
    }
    std::uint8_t active_profile_byte() const { return memory("parameters.bin").at(10); }
};

TEST_F(ProfileJobs, ReportRateTwoWritesOneFramedByteAtPanelProfileTimes42Plus15) {
    start_learnt();
    const Bytes before = memory("settings.bin");
    LightingWrite rate{1, {}};
    rate.record(15, {2});
    EXPECT_EQ(run_lighting_write(*commands_, rate), DeviceStatus::Success);

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
    const KeyboardContext jobs = context();
    const SwitchResult result =
        run_profile_switch(*commands_, jobs, 2, SaveAnswer::NothingToSave, config_);
    EXPECT_TRUE(result.switched);
    EXPECT_EQ(result.current_profile, 2);
    EXPECT_EQ(active_profile_byte(), 2);
    EXPECT_EQ(count_of(sent_commands(), kWriteProfile), 0u);
    EXPECT_EQ(count_of(sent_commands(), kWriteParameters), 1u);
}

TEST_F(ProfileJobs, FollowingWritesOnlyARealChangeAndReadsTheKeyboardAfresh) {
    start_learnt();
    arrive();
    // Already active: read, never written.
    SwitchResult result = follow_profile(*commands_, 0);
    EXPECT_TRUE(result.switched);
    EXPECT_EQ(count_of(sent_commands(), kWriteParameters), 0u);
    // Another program switched meanwhile: the cached profile does not hide it.
    ASSERT_EQ(make_profile_active(*commands_, 1), DeviceStatus::Success);
    commands_->facts().set_current_profile(0);
    clear_traffic();
    result = follow_profile(*commands_, 1);
    EXPECT_TRUE(result.switched);
    EXPECT_EQ(count_of(sent_commands(), kWriteParameters), 0u);
    result = follow_profile(*commands_, 2);
    EXPECT_TRUE(result.switched);
    EXPECT_EQ(result.current_profile, 2);
    EXPECT_EQ(active_profile_byte(), 2);
    EXPECT_EQ(count_of(sent_commands(), kWriteParameters), 1u);
}

TEST_F(ProfileJobs, SwitchAnsweredYesDownloadsTheStillActiveProfileFirst) {
    start_learnt();
    arrive();
    assign(0, kSlotA, typed(AssignmentType::Disabled));
    const KeyboardContext jobs = context();
    const SwitchResult result = run_profile_switch(*commands_, jobs, 1, SaveAnswer::Save, config_);
    EXPECT_TRUE(result.saved.sent);
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
    const KeyboardContext jobs = context();
    std::optional<Configuration> mirror = mirror_configuration(storage_);
    ASSERT_TRUE(mirror);
    config_.replace(std::move(*mirror));
    const SwitchResult result =
        run_profile_switch(*commands_, jobs, 1, SaveAnswer::Discard, config_);
    EXPECT_TRUE(result.switched);
    EXPECT_FALSE(result.saved.sent);
    EXPECT_EQ(active_profile_byte(), 1);
    EXPECT_TRUE(entry(0, kSlotA).is(AssignmentType::Default));
    EXPECT_EQ(stored_code(0, factory_position(kFactoryA)), kFactoryA);
    EXPECT_EQ(count_of(sent_commands(), kWriteProfile), 0u);
    EXPECT_EQ(count_of(sent_commands(), kWriteMacros), 0u);
}

TEST_F(ProfileJobs, ProfileChoiceOfNoRowSendsNoProfileAndRebuilds) {
    start_learnt();
    arrive();
    assign(0, kSlotA, typed(AssignmentType::Disabled));
    const KeyboardContext jobs = context();
    const KeyboardState state = run_profile_choice(*commands_, jobs, std::nullopt);
    EXPECT_EQ(count_of(sent_commands(), kWriteParameters), 0u);
    ASSERT_TRUE(state.configuration);
    EXPECT_EQ(state.current_profile, 0);
    EXPECT_TRUE(state.configuration->entry(flat_entry(0, kSlotA)).is(AssignmentType::Default));
}

TEST_F(ProfileJobs, FailedApplyKeepsTheMirrorAndSaysSo) {
    start_learnt();
    arrive();
    const Bytes mirror_before = file_bytes(storage_.mirror_path());
    assign(0, kSlotA, typed(AssignmentType::Disabled));
    control("fault status-ff 3 3"); // the second chunk of profile 0's key codes
    const KeyboardContext jobs = context();
    const ApplyResult result = apply_changes(*commands_, jobs, config_);
    EXPECT_FALSE(result.sent);
    EXPECT_EQ(result.status, DeviceStatus::Rejected);
    EXPECT_FALSE(result.mirror) << "not touched";
    EXPECT_EQ(file_bytes(storage_.mirror_path()), mirror_before);
}

TEST_F(ProfileJobs, AMirrorThatCannotBeWrittenIsToldAndTheKeyboardStillGetsTheChange) {
    start_learnt();
    arrive();
    assign(0, kSlotA, typed(AssignmentType::Disabled));
    // The mirror turned into a folder: the keyboard takes the change, the mirror reports why it
    // could not follow.
    std::filesystem::remove(storage_.mirror_path());
    std::filesystem::create_directories(storage_.mirror_path() / "inside");
    const ApplyResult result = apply_changes(*commands_, context(), config_);
    EXPECT_TRUE(result.sent);
    EXPECT_EQ(stored_code(0, factory_position(kFactoryA)), (Code{0, 0, 0}));
    ASSERT_TRUE(result.mirror);
    EXPECT_TRUE(result.mirror_failed());
    EXPECT_FALSE(result.mirror->reason().empty());

    // No mirror at all is nothing to keep up, not a failure.
    std::filesystem::remove_all(storage_.mirror_path());
    const ApplyResult without = apply_changes(*commands_, context(), config_);
    EXPECT_TRUE(without.sent);
    EXPECT_FALSE(without.mirror);

    // A per-user folder that became a file: the mirror cannot follow, and that is told.
    std::filesystem::remove_all(storage_.folder());
    std::ofstream(storage_.folder()) << "a file";
    const ApplyResult no_folder = apply_changes(*commands_, context(), config_);
    EXPECT_TRUE(no_folder.sent);
    EXPECT_TRUE(no_folder.mirror_failed());
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

    const KeyboardContext jobs = context();
    const ImportResult result = import_profile(*commands_, jobs, damaged);
    EXPECT_EQ(result.outcome, ImportResult::Outcome::NotValid);
    EXPECT_TRUE(messages_.shown.empty()) << "the window tells it once, in its own words";
    EXPECT_TRUE(requests().empty());
    EXPECT_TRUE(entry(1, kSlotA).is(AssignmentType::Default));
    EXPECT_EQ(file_bytes(storage_.mirror_path()), mirror_before);
    EXPECT_EQ(memory("profiles.bin"), profiles_before);
    EXPECT_TRUE(KeyboardCopies(storage_).list().empty());
}

TEST_F(ProfileJobs, ImportOfAFileWithAnUnknownTypeChangesNothingAndNamesTheEntry) {
    start_learnt();
    arrive();
    // A file the program wrote, its body damaged afterwards: the header still checks out.
    assign(1, kSlotA, typed(AssignmentType::Disabled));
    Bytes bytes = serialise_profile_file(config_);
    const std::size_t type_at =
        ConfigurationImage::kKeyTablesOffset + static_cast<std::size_t>(flat_entry(1, kSlotA)) * 16;
    bytes[type_at] = 58171 & 0xFF;
    bytes[type_at + 1] = 58171 >> 8;
    const auto damaged = folder_ / "body.tvp";
    ASSERT_TRUE(write_profile_bytes(damaged, bytes));
    install_default();
    const Bytes mirror_before = file_bytes(storage_.mirror_path());
    const Bytes profiles_before = memory("profiles.bin");
    const Bytes macros_before = memory("macros.bin");

    const ImportResult result = import_profile(*commands_, context(), damaged);
    EXPECT_EQ(result.outcome, ImportResult::Outcome::Damaged);
    EXPECT_EQ(result.damaged, (DamagedEntry{flat_entry(1, kSlotA), 58171}));
    EXPECT_FALSE(result.configuration);
    EXPECT_TRUE(messages_.shown.empty()) << "the window names the key in its own words";
    EXPECT_TRUE(requests().empty()) << "the keyboard is not even read for a copy";
    EXPECT_TRUE(entry(1, kSlotA).is(AssignmentType::Default));
    EXPECT_EQ(file_bytes(storage_.mirror_path()), mirror_before);
    EXPECT_EQ(memory("profiles.bin"), profiles_before);
    EXPECT_EQ(memory("macros.bin"), macros_before);
    EXPECT_TRUE(KeyboardCopies(storage_).list().empty());
}

// Discard goes back to the mirror; a damaged one gives nothing (the keyboard is read again),
// a missing one the defaults.
TEST_F(ProfileJobs, TheMirrorGivesItsConfigurationBackOnlyWhenItIsSound) {
    start_learnt();
    arrive();
    assign(0, kSlotA, KeyAssignment{9, 0, 0, 0, 0});
    ASSERT_TRUE(save_profile_file(storage_.mirror_path(), config_));
    EXPECT_FALSE(mirror_configuration(storage_));

    std::filesystem::remove(storage_.mirror_path());
    const std::optional<Configuration> defaults = mirror_configuration(storage_);
    ASSERT_TRUE(defaults);
    EXPECT_TRUE(defaults->entry(flat_entry(0, kSlotA)).is_zero());
}

class ImportJobs : public ProfileJobs {
protected:
    // A file disabling A in profile 1 and holding one macro, with the configuration back at
    // the keyboard's content.
    std::filesystem::path import_file() {
        assign(1, kSlotA, typed(AssignmentType::Disabled));
        { config_.macros() = {make_macro(1, u"Mac", 4)}; }
        const auto file = folder_ / "import.tvp";
        EXPECT_TRUE(save_profile_file(file, config_));
        arrive();
        return file;
    }
};

TEST_F(ImportJobs, ImportWritesAllThreeProfilesAndTheMacrosAfterKeepingACopy) {
    start_learnt();
    arrive();
    const auto file = import_file();
    const Bytes held_before = memory("profiles.bin");
    const KeyboardContext jobs = context();
    const ImportResult result = import_profile(*commands_, jobs, file);
    ASSERT_EQ(result.outcome, ImportResult::Outcome::Imported);
    ASSERT_TRUE(result.configuration);
    config_.replace(*result.configuration);

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
    ASSERT_TRUE(load_profile_file(result.copy.path, copy));
    EXPECT_TRUE(copy.entry(flat_entry(1, kSlotA)).is(AssignmentType::Default));
    EXPECT_NE(memory("profiles.bin"), held_before);
}

TEST_F(ImportJobs, ImportFailingHalfWayLeavesConfigurationAndMirrorForTheReReadToSettle) {
    start_learnt();
    arrive();
    const auto file = import_file();
    // Copy: 3 x 7 profile chunks + the macro header; then Begin, one macro chunk, profile 0's
    // seven chunks: profile 1's first chunk fails.
    control("fault status-ff 3 " + std::to_string(22 + 1 + 1 + 7));
    const KeyboardContext jobs = context();
    const ImportResult result = import_profile(*commands_, jobs, file);
    ASSERT_EQ(result.outcome, ImportResult::Outcome::DownloadFailed);
    EXPECT_FALSE(result.configuration) << "nothing for the owner to take in";

    // Macro memory took the block, profile 1 kept its codes: the read that follows shows that.
    const Bytes macros = memory("macros.bin");
    EXPECT_EQ(macros.at(0) | macros.at(1) << 8, 0x55AA);
    EXPECT_EQ(stored_code(1, factory_position(kFactoryA)), kFactoryA);
    KeyboardState state = read_keyboard_state(*commands_, storage_, texts_);
    ASSERT_TRUE(state.configuration);
    EXPECT_EQ(state.configuration->macros().size(), 1u);
    EXPECT_TRUE(state.configuration->entry(flat_entry(1, kSlotA)).is(AssignmentType::Default));
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
    const KeyboardContext jobs = context();
    const ImportResult result = import_profile(*commands_, jobs, file);
    EXPECT_EQ(result.outcome, ImportResult::Outcome::NoCopy);
    EXPECT_EQ(result.copy.result, KeyboardFileResult::ReadFailed);
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

    const KeyboardContext jobs = context();
    const KeptApply kept = apply_changes_keeping_copy(*commands_, jobs, config_);
    EXPECT_TRUE(kept.applied.sent);
    ASSERT_TRUE(kept.copy);
    EXPECT_TRUE(std::filesystem::exists(kept.copy.path));
}

TEST_F(ImportJobs, AUserFolderThatIsAFileIsBlamedNotTheKeyboard) {
    start_learnt();
    arrive();
    const auto file = import_file();
    std::filesystem::remove_all(storage_.folder());
    std::ofstream(storage_.folder()) << "a file where the folder belongs";
    const ImportResult result = import_profile(*commands_, context(), file);
    EXPECT_EQ(result.outcome, ImportResult::Outcome::NoCopy);
    EXPECT_EQ(result.copy.result, KeyboardFileResult::WriteFailed);
    EXPECT_NE(result.copy.reason().find(storage_.folder().string()), std::string::npos)
        << result.copy.reason();
    EXPECT_EQ(count_of(sent_commands(), kWriteProfile), 0u);
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
        made.push_back(copy.path);
    }
    EXPECT_EQ(copies.list(), std::vector(made.end() - 5, made.end()));
    control("fault status-ff 3 0");
    EXPECT_FALSE(copies.keep(*commands_, texts_, start + std::chrono::seconds(9)));
    EXPECT_EQ(copies.list().size(), 5u);
}

} // namespace
} // namespace tarvenor::testing
