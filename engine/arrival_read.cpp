#include "engine/arrival_read.h"

#include "device/keyboard_profile_file.h"
#include "model/profile_file.h"

namespace tarvenor {
namespace {

// False when the mirror is damaged and could not be moved out of the way: it is then not
// overwritten, so that nothing it held is lost.
bool set_aside_damaged_mirror(KeyboardState& state) {
    state.damaged_mirror = find_damaged_entry_in_file(state.mirror_path);
    if (!state.damaged_mirror) {
        return true;
    }
    state.damaged_mirror_kept = set_aside_damaged_file(state.mirror_path);
    return !state.damaged_mirror_kept.kept.empty();
}

} // namespace

KeyboardState read_keyboard_state(CommandSet& commands, const UserStorage& storage,
                                  const TextTable& texts) {
    KeyboardState state;
    state.mirror_path = storage.mirror_path();
    Bytes& file = state.keyboard_file;
    if (read_keyboard_file(commands, texts, file) == KeyboardFileResult::Written) {
        state.configuration = configuration_from_bytes(file);
        if (!storage.ensure_user_folder()) {
            state.mirror = FileWriteResult{FileWriteResult::Failure::System,
                                           std::make_error_code(std::errc::not_a_directory)};
        } else if (!set_aside_damaged_mirror(state)) {
            state.mirror =
                FileWriteResult{FileWriteResult::Failure::System, state.damaged_mirror_kept.error};
        } else {
            state.mirror = write_profile_bytes(state.mirror_path, file);
        }
    }
    state.current_profile = commands.get_current_profile();
    return state;
}

} // namespace tarvenor
