#pragma once

#include "ui/logic/keyboard_refresh.h"
#include "ui/logic/profile_jobs.h"

#include <optional>

namespace tarvenor {

// switch_profile, split between the user interface thread (whether to switch, whether to ask)
// and the device worker (what is written).
class ProfileSwitchGuard {
public:
    enum class Step {
        Refuse,  // the assignment dialog is open, or the save question is already on screen
        AskSave, // there are unapplied changes
        Switch,
    };

    // A target of 3 or more becomes 0, as does a negative one: only 0..2 reach the keyboard.
    static int target_of(int requested);

    Step decide(bool editor_open, bool unsaved) const;
    // Brackets the save question so that a second switch meanwhile is refused.
    void question_shown() { asking_ = true; }
    void question_answered() { asking_ = false; }

private:
    bool asking_ = false;
};

enum class SaveAnswer {
    NothingToSave,
    Save,    // apply the still-active profile first
    Discard, // reload the mirror, dropping the edits
};

struct SwitchResult {
    bool switched = false; // the keyboard took the new profile
    bool saved = false;    // Save: the edits reached the keyboard
    int current_profile = -1;
};

// On the device worker: settles the edits as answered, then makes `profile` (0..2) active.
SwitchResult run_profile_switch(CommandSet& commands, ProfileJobContext& context, int profile,
                                SaveAnswer answer);

// The profile manager's Apply on the device worker: the chosen profile (none: nothing is sent)
// becomes active and the configuration is rebuilt from the keyboard.
KeyboardState run_profile_choice(CommandSet& commands, ProfileJobContext& context,
                                 std::optional<int> profile);

} // namespace tarvenor
