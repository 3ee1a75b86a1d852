#pragma once

#include "model/messages.h"
#include "model/text_table.h"
#include "model/user_storage.h"

namespace tarvenor {

// What the keyboard operations need besides the keyboard: the per-user folder, the texts, and
// where the download's own messages go (called on the thread the operation runs on).
struct KeyboardContext {
    const UserStorage& storage;
    const TextTable& texts;
    MessageSink& messages;
};

} // namespace tarvenor
