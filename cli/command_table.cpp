#include "cli/cli_command.h"
#include "cli/doctor_command.h"
#include "cli/file_commands.h"
#include "cli/info_command.h"
#include "cli/lighting_command.h"
#include "cli/profile_command.h"
#include "cli/rules_command.h"
#include "cli/transfer_commands.h"

namespace tarvenor::cli {

std::span<const CliCommand> all_commands() {
    static const CliCommand commands[] = {kInfoCommand,      kProfileCommand, kValidateCommand,
                                          kDumpCommand,      kResaveCommand,  kNewCommand,
                                          kPullCommand,      kPushCommand,    kLightingCommand,
                                          kKeyColourCommand, kRulesCommand,   kDoctorCommand};
    return commands;
}

} // namespace tarvenor::cli
