#include "engine/profile_switch.h"

#include "model/profile_file.h"

namespace tarvenor {

DeviceStatus make_profile_active(CommandSet& commands, int profile) {
    return commands.set_current_profile(is_profile(profile) ? profile : 0);
}

SwitchResult follow_profile(CommandSet& commands, int profile) {
    commands.facts().set_current_profile(DeviceFacts::kUnknownProfile);
    SwitchResult result;
    if (commands.get_current_profile() != profile) {
        result.status = make_profile_active(commands, profile);
    }
    result.current_profile = commands.facts().current_profile();
    result.switched = result.current_profile == profile;
    return result;
}

SwitchResult run_profile_switch(CommandSet& commands, const KeyboardContext& context, int profile,
                                SaveAnswer answer, Configuration configuration) {
    SwitchResult result;
    if (answer == SaveAnswer::Save) {
        result.saved = apply_changes(commands, context, std::move(configuration));
    }
    result.status = make_profile_active(commands, profile);
    result.switched = result.status == DeviceStatus::Success;
    result.current_profile = commands.facts().current_profile();
    return result;
}

KeyboardState run_profile_choice(CommandSet& commands, const KeyboardContext& context,
                                 std::optional<int> profile) {
    if (profile && is_profile(*profile)) {
        commands.set_current_profile(*profile);
    }
    return read_keyboard_state(commands, context.storage, context.texts);
}

std::optional<Configuration> mirror_configuration(const UserStorage& storage) {
    std::optional<Configuration> mirror = configuration_from_file(storage.mirror_path());
    if (!mirror) {
        return default_configuration();
    }
    if (find_damaged_entry(mirror->image())) {
        return std::nullopt;
    }
    return mirror;
}

} // namespace tarvenor
