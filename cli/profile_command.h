#pragma once

#include "cli/cli_command.h"

namespace tarvenor::cli {

// `profile`: prints the active profile (1..3); `profile N`: makes profile N active.
extern const CliCommand kProfileCommand;

} // namespace tarvenor::cli
