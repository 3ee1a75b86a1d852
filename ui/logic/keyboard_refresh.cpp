#include "ui/logic/keyboard_refresh.h"

#include "device/keyboard_profile_file.h"

namespace tarvenor {
namespace {

// The window hears of the new configuration from the returned state, on its own thread.
class QuietRebuild final : public RebuildObserver {
public:
    void configuration_replaced(bool) override {}
};

} // namespace

KeyboardState read_keyboard_state(CommandSet& commands, const UserStorage& storage,
                                  Configuration& configuration, const TextTable& texts) {
    QuietRebuild quiet;
    KeyboardState state;
    state.configuration_from_keyboard =
        rebuild_from_keyboard(commands, storage, configuration, texts, quiet);
    state.current_profile = commands.get_current_profile();
    return state;
}

} // namespace tarvenor
