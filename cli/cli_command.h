#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvenor::cli {

enum ExitCode : int {
    kExitDone = 0,
    kExitBadArguments = 1,
    kExitFileError = 2,
    kExitNoKeyboard = 3,
    kExitRejected = 4,
    kExitNoServiceLibrary = 5,
};

// One subcommand: `tarvenor-cli <name> <arguments>`. `run` gets the words after the name.
struct CliCommand {
    std::string_view name;
    std::string_view arguments;
    std::string_view summary;
    int (*run)(const std::vector<std::string>& arguments);
};

std::span<const CliCommand> all_commands();

} // namespace tarvenor::cli
