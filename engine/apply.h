#pragma once

#include "device/macro_download.h"
#include "engine/job_context.h"
#include "engine/keyboard_copies.h"
#include "model/configuration.h"
#include "model/damaged_file.h"

#include <filesystem>
#include <optional>

namespace tarvenor {

// What writing a configuration into the keyboard came to.
struct ApplyResult {
    // Every command of the download succeeded.
    bool sent = false;
    // The mirror, saved only once the keyboard holds the change, so that it never claims what
    // the keyboard does not hold: nothing when there is no mirror to keep up (or nothing sent).
    std::optional<FileWriteResult> mirror;
    // The failing command's status; Success when nothing failed (the job's own status too).
    DeviceStatus status = DeviceStatus::Success;

    bool mirror_failed() const { return mirror && !*mirror; }
};

// Apply: the active profile's key codes and the macros of `configuration` (the owner's copy)
// go to the keyboard, then the mirror follows.
ApplyResult apply_changes(CommandSet& commands, const KeyboardContext& context,
                          Configuration configuration);

// Restore defaults: the keyboard's content is first copied to the per-user folder; nothing is
// sent when no copy could be kept.
struct KeptApply {
    PulledFile copy;
    ApplyResult applied;
};
KeptApply apply_changes_keeping_copy(CommandSet& commands, const KeyboardContext& context,
                                     Configuration configuration);

// The bank's nine G slots and the 106 keys of the drawing in the profile's table become Default
// again (the G slots keep their fixed codes). False, with nothing changed, for an unknown
// profile or a configuration without an image.
bool reset_all_assignments(Configuration& configuration, int profile, int bank);

// Writing a whole profile file into the keyboard (all three profiles): the command line's push.
// The mirror follows what the keyboard then holds.
ApplyResult push_configuration(CommandSet& commands, const KeyboardContext& context,
                               Configuration configuration, DownloadFailure* failure = nullptr);

struct ImportResult {
    enum class Outcome {
        Imported,
        NotValid,       // the file is not a profile file: nothing changed
        Damaged,        // an entry of the file has no known type (see `damaged`): nothing changed
        Unreadable,     // the file could not be read: nothing changed
        NoCopy,         // no copy of the keyboard could be kept (see `copy`): nothing was sent
        DownloadFailed, // the keyboard refused part of it: it may hold part of the file
    };
    Outcome outcome = Outcome::NotValid;
    DamagedEntry damaged;
    PulledFile copy;
    // Imported: the file's configuration, for the owner to take in.
    std::optional<Configuration> configuration;
    ApplyResult applied;
};

// Import of a profile file for all three profiles. The file is checked and decoded aside, the
// keyboard's content is copied to the per-user folder, and only a download that succeeded in
// full makes the file the configuration and the mirror.
ImportResult import_profile(CommandSet& commands, const KeyboardContext& context,
                            const std::filesystem::path& file);

} // namespace tarvenor
