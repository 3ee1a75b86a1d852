#pragma once

#include "engine/apply.h"
#include "engine/arrival_read.h"
#include "engine/job_context.h"

#include <optional>

namespace tarvenor {

// What the user answered about unapplied changes before a profile switch.
enum class SaveAnswer {
    NothingToSave,
    Save,    // apply the still-active profile first
    Discard, // drop the edits: the owner takes the mirror's configuration back
};

struct SwitchResult {
    bool switched = false; // the keyboard took the new profile
    ApplyResult saved;     // Save: what the Apply came to
    int current_profile = -1;
    DeviceStatus status = DeviceStatus::Success; // the switch's own status
};

// Makes `profile` active; a target outside 0..2 becomes 0, so that only 0..2 reach the keyboard.
DeviceStatus make_profile_active(CommandSet& commands, int profile);

// Makes `profile` (0..2) active unless the keyboard already has it, read afresh since another
// program may have switched it: the keyboard's memory is written only for a real change.
// `switched`: the keyboard has the profile now.
SwitchResult follow_profile(CommandSet& commands, int profile);

// Settles the edits as answered (Save: `configuration` is applied first), then makes `profile`
// active; a target outside 0..2 becomes 0, so that only 0..2 reach the keyboard.
SwitchResult run_profile_switch(CommandSet& commands, const KeyboardContext& context, int profile,
                                SaveAnswer answer, Configuration configuration);

// The profile manager's Apply: the chosen profile (none: nothing is sent) becomes active and
// what the keyboard holds is read again.
KeyboardState run_profile_choice(CommandSet& commands, const KeyboardContext& context,
                                 std::optional<int> profile);

// The configuration the mirror holds: what a Discard goes back to (the defaults when it cannot
// be read). Nothing when the mirror is damaged: the keyboard is to be read again, which keeps
// the damaged file aside and rewrites the mirror.
std::optional<Configuration> mirror_configuration(const UserStorage& storage);

} // namespace tarvenor
