#pragma once

#include "ui/logic/keyboard_refresh.h"
#include "ui/logic/profile_jobs.h"

#include <filesystem>
#include <optional>

namespace tarvenor {

// Apply: the active profile's key codes and the macros go to the keyboard; the mirror is saved
// only once the keyboard has them, so that it never claims what the keyboard does not hold.
// True only when every command of the download succeeded.
bool apply_changes(CommandSet& commands, ProfileJobContext& context);

// Restore defaults after the keyboard's content has been copied to the per-user folder.
struct KeptApply {
    bool applied = false;
    // Where the keyboard's previous content went; none: it could not be read, nothing was sent.
    std::optional<std::filesystem::path> copy;
};
KeptApply apply_changes_keeping_copy(CommandSet& commands, ProfileJobContext& context);

// ResetAllAssignments: the bank's nine G slots and the 106 keys of the drawing in the profile's
// table become Default again (the G slots keep their fixed codes). Nothing for an unknown
// profile. Takes the configuration lock.
bool reset_all_assignments(Configuration& configuration, int profile, int bank);

struct ImportResult {
    enum class Outcome {
        Imported,
        NotValid,       // the file failed its check or could not be read: nothing changed
        KeyboardUnread, // no copy of the keyboard could be kept: nothing was sent
        DownloadFailed, // the keyboard refused part of it; configuration and mirror re-read
    };
    Outcome outcome = Outcome::NotValid;
    std::optional<std::filesystem::path> copy;
    // After a failed download: what the keyboard now holds, read back.
    KeyboardState state;
};

// Import of a profile file for all three profiles. The file is checked and decoded aside,
// the keyboard's content is copied to the per-user folder, and only a download that succeeded
// in full makes the file the configuration and the mirror.
ImportResult import_profile(CommandSet& commands, ProfileJobContext& context,
                            const std::filesystem::path& file);

} // namespace tarvenor
