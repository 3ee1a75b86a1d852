#pragma once

#include "device/commands.h"
#include "model/configuration.h"
#include "model/messages.h"
#include "model/text_table.h"
#include "model/user_storage.h"

namespace tarvenor {

// What the keyboard jobs of the profile controls work on. The jobs run on the device worker;
// messages go through the sink, which the window forwards to its own thread.
struct ProfileJobContext {
    Configuration& configuration;
    DownloadSnapshotHolder& snapshot;
    const UserStorage& storage;
    const TextTable& texts;
    MessageSink& messages;
};

} // namespace tarvenor
