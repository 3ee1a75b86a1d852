#pragma once

#include "device/commands.h"
#include "model/configuration.h"
#include "model/text_table.h"
#include "model/user_storage.h"

namespace tarvenor {

// What the main window installs after a keyboard arrived.
struct KeyboardState {
    // The keyboard's configuration was installed; false: the default one is in place.
    bool configuration_from_keyboard = false;
    // CurrentProfile: 0..2, or -1 when the keyboard did not name one.
    int current_profile = -1;
};

// The reads of an arrival, on the device worker: the configuration rebuilt from the keyboard
// through the profile mirror, then the active profile. The configuration is replaced as a whole
// under its lock; nothing here reaches the windows.
KeyboardState read_keyboard_state(CommandSet& commands, const UserStorage& storage,
                                  Configuration& configuration, const TextTable& texts);

} // namespace tarvenor
