#include "ui/logic/apply_jobs.h"

#include "device/macro_download.h"
#include "model/key_codes.h"
#include "model/profile_file.h"
#include "ui/logic/profile_backup.h"

namespace tarvenor {
namespace {

bool download(CommandSet& commands, ProfileJobContext& context, const Configuration& source,
              bool all_profiles) {
    if (!take_download_snapshot(source, context.snapshot)) {
        return false;
    }
    std::scoped_lock guard(context.snapshot.lock());
    const bool sent =
        macro_download(commands, context.snapshot, all_profiles, context.messages, context.texts);
    context.snapshot.release();
    return sent;
}

void install(Configuration& target, Configuration& source) {
    std::scoped_lock both(target.lock(), source.lock());
    target.clear();
    target.install_image(source.image());
    target.texts() = std::move(source.texts());
    target.macros() = std::move(source.macros());
}

} // namespace

bool apply_changes(CommandSet& commands, ProfileJobContext& context) {
    if (!download(commands, context, context.configuration, false)) {
        return false;
    }
    save_profile_mirror(context.storage, context.configuration, true);
    return true;
}

KeptApply apply_changes_keeping_copy(CommandSet& commands, ProfileJobContext& context) {
    KeptApply result;
    result.copy = KeyboardCopies(context.storage).keep(commands, context.texts);
    if (result.copy) {
        result.applied = apply_changes(commands, context);
    }
    return result;
}

bool reset_all_assignments(Configuration& configuration, int profile, int bank) {
    if (!is_profile(profile)) {
        return false;
    }
    std::scoped_lock lock(configuration.lock());
    if (!configuration.has_image()) {
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

ImportResult import_profile(CommandSet& commands, ProfileJobContext& context,
                            const std::filesystem::path& file) {
    ImportResult result;
    Configuration imported;
    if (validate_profile_file(file, context.messages, context.texts) != ProfileFileCheck::Valid ||
        !load_profile_file(file, imported)) {
        show_message(context.messages, context.texts, Message::ImportFailed);
        return result;
    }
    result.copy = KeyboardCopies(context.storage).keep(commands, context.texts);
    if (!result.copy) {
        result.outcome = ImportResult::Outcome::KeyboardUnread;
        return result;
    }
    if (!download(commands, context, imported, true)) {
        result.outcome = ImportResult::Outcome::DownloadFailed;
        result.state =
            read_keyboard_state(commands, context.storage, context.configuration, context.texts);
        return result;
    }
    install(context.configuration, imported);
    save_profile_mirror(context.storage, context.configuration, true);
    result.outcome = ImportResult::Outcome::Imported;
    return result;
}

} // namespace tarvenor
