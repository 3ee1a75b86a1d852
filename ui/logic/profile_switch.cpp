#include "ui/logic/profile_switch.h"

#include "model/profile_file.h"
#include "ui/logic/apply_jobs.h"

namespace tarvenor {

int ProfileSwitchGuard::target_of(int requested) {
    return is_profile(requested) ? requested : 0;
}

ProfileSwitchGuard::Step ProfileSwitchGuard::decide(bool editor_open, bool unsaved) const {
    if (editor_open || asking_) {
        return Step::Refuse;
    }
    return unsaved ? Step::AskSave : Step::Switch;
}

namespace {

// Drops the edits: the configuration becomes the mirror's again (the default image when the
// mirror cannot be loaded).
void reload_mirror(ProfileJobContext& context, int current_profile) {
    if (!is_profile(current_profile)) {
        return;
    }
    install_rebuilt_configuration(context.configuration, true, context.storage.mirror_path());
}

} // namespace

SwitchResult run_profile_switch(CommandSet& commands, ProfileJobContext& context, int profile,
                                SaveAnswer answer) {
    SwitchResult result;
    switch (answer) {
    case SaveAnswer::Save:
        result.saved = apply_changes(commands, context);
        break;
    case SaveAnswer::Discard:
        reload_mirror(context, commands.facts().current_profile());
        break;
    case SaveAnswer::NothingToSave:
        break;
    }
    result.switched = commands.set_current_profile(ProfileSwitchGuard::target_of(profile)) ==
                      DeviceStatus::Success;
    result.current_profile = commands.facts().current_profile();
    return result;
}

KeyboardState run_profile_choice(CommandSet& commands, ProfileJobContext& context,
                                 std::optional<int> profile) {
    if (profile && is_profile(*profile)) {
        commands.set_current_profile(*profile);
    }
    return read_keyboard_state(commands, context.storage, context.configuration, context.texts);
}

} // namespace tarvenor
