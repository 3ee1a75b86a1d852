#pragma once

#include <string>

namespace tarvenor::hidserv {

// The lock file the programs share for the one keyboard they drive (vendor 0c45, product 0820):
// keyboard-0c45-0820.lock in $XDG_RUNTIME_DIR/tarvenor, or in /tmp/tarvenor-<uid> without one.
// The folder is created with mode 0700. Empty when it cannot be made, or is not a folder of this
// user's that only this user can write to: a lock in a folder someone else controls would let
// them hold every program off the keyboard.
std::string keyboard_lock_path();

} // namespace tarvenor::hidserv
