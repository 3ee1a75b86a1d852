#pragma once

#include "cli/cli_command.h"

namespace tarvenor::cli {

// `lighting [--profile N] [--json] [--per-key]` prints a profile's lighting; `lighting set
// [--profile N] NAME=VALUE...` changes it with the writes the lighting panel makes.
extern const CliCommand kLightingCommand;
// `key-colour [--profile N] KEY RRGGBB` paints one key.
extern const CliCommand kKeyColourCommand;

} // namespace tarvenor::cli
