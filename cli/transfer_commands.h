#pragma once

#include "cli/cli_command.h"

namespace tarvenor::cli {

// `pull FILE`: the keyboard's key codes and macros as a profile file.
extern const CliCommand kPullCommand;
// `push FILE`: a profile file into the keyboard, all three profiles, as an import does.
extern const CliCommand kPushCommand;

} // namespace tarvenor::cli
