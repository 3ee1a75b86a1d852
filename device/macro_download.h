#pragma once

#include "device/commands.h"
#include "model/configuration.h"
#include "model/messages.h"
#include "model/text_table.h"

namespace tarvenor {

// The command at which a download stopped.
struct DownloadFailure {
    Command command = Command::BeginTransfer;
    int profile = -1; // the profile whose block WriteProfileBlock was writing
    // Success when nothing was refused (nothing sent, or no profile to write); NoDevice when the
    // keyboard has gone.
    DeviceStatus status = DeviceStatus::Success;
};

// Writes the download snapshot to the keyboard: BeginTransfer, the macro block, the key codes of
// profiles 0..2 (all_profiles) or of the active profile alone, EndTransfer. The macro memory
// size, the factory key codes and the active profile come from the command set's device facts.
//
// Nothing is sent when the macros do not fit even without their names (the MacrosTooLarge
// message) or when the factory key codes were never read (the DefaultMatrixFailure message):
// without them every key would be written as disabled. Names that do not fit are left out and
// MacroNamesDropped is shown after the download. The first failing command ends the sequence
// (EndTransfer is still sent) and is told in `failure`; the keyboard may then hold a partly
// written configuration.
//
// True only when every command succeeded and at least one profile block was written; with the
// active profile unknown the macro block is still written and the result is false.
bool macro_download(CommandSet& commands, const DownloadSnapshot& snapshot, bool all_profiles,
                    MessageSink& messages, const TextTable& texts,
                    DownloadFailure* failure = nullptr);

} // namespace tarvenor
