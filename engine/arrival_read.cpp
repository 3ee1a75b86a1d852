#include "engine/arrival_read.h"

#include "device/keyboard_profile_file.h"
#include "model/profile_file.h"

namespace tarvenor {

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
        } else {
            state.mirror = write_profile_bytes(state.mirror_path, file);
        }
    }
    state.current_profile = commands.get_current_profile();
    return state;
}

} // namespace tarvenor
