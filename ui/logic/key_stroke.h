#pragma once

#include "model/key_codes.h"

namespace tarvenor {

// One keystroke as the assignment dialog's keyboard filter hands it on.
struct KeyStroke {
    KeyCode code = 0;
    bool release = false;
    // Made by the key repeat, not by the user: a key-down of a key that was already down, and
    // on X11 the release the repeat sends before it.
    bool auto_repeat = false;

    friend bool operator==(const KeyStroke&, const KeyStroke&) = default;
};

// Whether the filter lets a keystroke go on to the focused control and the desktop.
enum class KeyVerdict { Pass, Swallow };

} // namespace tarvenor
