#pragma once

#include "cli/cli_command.h"

namespace tarvenor::cli {

// `rules`: lists which profile follows which application (`--json` too); `rules add APP N`,
// `rules remove APP`, `rules default N|keep` change the rules file, which a running program
// reads again at once.
extern const CliCommand kRulesCommand;

} // namespace tarvenor::cli
