#include "engine/apply.h"

#include "device/macro_download.h"
#include "model/key_codes.h"
#include "model/profile_file.h"

namespace tarvenor {
namespace {

// A silent sink: an import tells its own single message for a file it refuses.
class NoMessages final : public MessageSink {
public:
    void show(Message, const std::string&) override {}
};

ApplyResult download(CommandSet& commands, const KeyboardContext& context,
                     Configuration& configuration, bool all_profiles,
                     DownloadFailure* failure = nullptr) {
    ApplyResult result;
    const std::optional<DownloadSnapshot> snapshot = take_download_snapshot(configuration);
    if (!snapshot) {
        return result;
    }
    DownloadFailure stopped;
    result.sent = macro_download(commands, *snapshot, all_profiles, context.messages, context.texts,
                                 &stopped);
    result.status = stopped.status;
    if (failure != nullptr) {
        *failure = stopped;
    }
    if (result.sent) {
        result.mirror = save_profile_mirror(context.storage, configuration);
    }
    return result;
}

} // namespace

ApplyResult apply_changes(CommandSet& commands, const KeyboardContext& context,
                          Configuration configuration) {
    return download(commands, context, configuration, false);
}

KeptApply apply_changes_keeping_copy(CommandSet& commands, const KeyboardContext& context,
                                     Configuration configuration) {
    KeptApply result;
    result.copy = KeyboardCopies(context.storage).keep(commands, context.texts);
    if (result.copy) {
        result.applied = download(commands, context, configuration, false);
    }
    return result;
}

bool reset_all_assignments(Configuration& configuration, int profile, int bank) {
    if (!is_profile(profile) || !configuration.has_image()) {
        return false;
    }
    for (int j = 0; j < static_cast<int>(kGButtonCount); ++j) {
        const int slot = g_button_slot(j, bank & 1);
        KeyAssignment cleared;
        cleared.aux_code = g_button_code(slot - kGSlotBase);
        configuration.assign(flat_entry(profile, slot), cleared);
    }
    for (const KeyboardKey& key : keyboard_key_list()) {
        configuration.assign(flat_entry(profile, key_index_of(key.code)), KeyAssignment{});
    }
    return true;
}

ApplyResult push_configuration(CommandSet& commands, const KeyboardContext& context,
                               Configuration configuration, DownloadFailure* failure) {
    return download(commands, context, configuration, true, failure);
}

ImportResult import_profile(CommandSet& commands, const KeyboardContext& context,
                            const std::filesystem::path& file) {
    ImportResult result;
    NoMessages quiet;
    switch (validate_profile_file(file, quiet, context.texts, &result.damaged)) {
    case ProfileFileCheck::Valid:
        break;
    case ProfileFileCheck::CannotOpen:
        result.outcome = ImportResult::Outcome::Unreadable;
        return result;
    case ProfileFileCheck::Damaged:
        result.outcome = ImportResult::Outcome::Damaged;
        return result;
    case ProfileFileCheck::Invalid:
        return result;
    }
    std::optional<Configuration> imported = configuration_from_file(file);
    if (!imported) {
        return result;
    }
    result.copy = KeyboardCopies(context.storage).keep(commands, context.texts);
    if (!result.copy) {
        result.outcome = ImportResult::Outcome::NoCopy;
        return result;
    }
    result.applied = download(commands, context, *imported, true);
    if (!result.applied.sent) {
        result.outcome = ImportResult::Outcome::DownloadFailed;
        return result;
    }
    result.outcome = ImportResult::Outcome::Imported;
    result.configuration = std::move(imported);
    return result;
}

} // namespace tarvenor
