#pragma once

#include "cli/cli_command.h"

namespace tarvenor::cli {

// `info [--json]`: keyboards connected, active profile, macro space and the effects offered.
extern const CliCommand kInfoCommand;

} // namespace tarvenor::cli
