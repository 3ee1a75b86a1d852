#pragma once

#include "cli/cli_command.h"

namespace tarvenor::cli {

// `doctor [--json]`: whether this computer is ready for the keyboard, one line per check with OK
// or the fix. Exit code 0 when nothing needs fixing, 1 otherwise.
extern const CliCommand kDoctorCommand;

} // namespace tarvenor::cli
