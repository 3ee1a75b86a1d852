#pragma once

#include "device/commands.h"
#include "model/configuration.h"
#include "model/messages.h"
#include "model/text_table.h"

namespace tarvenor {

// Writes the download snapshot to the keyboard: BeginTransfer, the macro block, the key codes of
// profiles 0..2 (all_profiles) or of the active profile alone, EndTransfer. The macro memory
// size, the factory key codes and the active profile come from the command set's device facts.
//
// Nothing is sent when the macros do not fit even without their names (the MacrosTooLarge
// message) or when the factory key codes were never read (the DefaultMatrixFailure message):
// without them every key would be written as disabled. Names that do not fit are left out and
// MacroNamesDropped is shown after the download. A failing command does not stop the sequence.
//
// True only when every command succeeded and at least one profile block was written; with the
// active profile unknown the macro block is still written and the result is false.
bool macro_download(CommandSet& commands, const DownloadSnapshotHolder& holder, bool all_profiles,
                    MessageSink& messages, const TextTable& texts);

} // namespace tarvenor
