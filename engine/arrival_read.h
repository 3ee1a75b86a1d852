#pragma once

#include "device/commands.h"
#include "model/atomic_file.h"
#include "model/byte_order.h"
#include "model/configuration.h"
#include "model/damaged_file.h"
#include "model/text_table.h"
#include "model/user_storage.h"

#include <filesystem>
#include <optional>

namespace tarvenor {

// What the keyboard holds, read on arrival or whenever the window needs it again.
struct KeyboardState {
    // The keyboard's configuration; nothing when it could not be read (the defaults apply).
    std::optional<Configuration> configuration;
    // The same as the profile file's bytes the keyboard gave: what tells whether it changed.
    Bytes keyboard_file;
    // CurrentProfile: 0..2, or -1 when the keyboard did not name one.
    int current_profile = -1;
    // The mirror rewritten from the keyboard: nothing when the keyboard could not be read.
    std::optional<FileWriteResult> mirror;
    std::filesystem::path mirror_path;
    // The mirror found damaged before it was rewritten: which entry, and where the file was kept
    // (when it could not be moved aside, the mirror was left as it was and `mirror` says why).
    std::optional<DamagedEntry> damaged_mirror;
    SetAside damaged_mirror_kept;

    bool mirror_failed() const { return mirror && !*mirror; }
};

// The reads of an arrival: the keyboard's three profile blocks and macros into a configuration,
// the profile mirror rewritten from them (a damaged mirror is first moved aside, so that what
// only it held, such as program paths, is not lost), then the active profile. Nothing here is
// installed: the owner takes the state in.
KeyboardState read_keyboard_state(CommandSet& commands, const UserStorage& storage,
                                  const TextTable& texts);

} // namespace tarvenor
