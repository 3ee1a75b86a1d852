#pragma once

#include "model/native_keys.h"

namespace tarvenor {

// The native form of a key: its virtual key, and its set 1 make code split into scan code and
// extended flag (Num Lock and Pause keep the codes the key table gives them).
NativeKey native_key_of(KeyCode code);

} // namespace tarvenor
