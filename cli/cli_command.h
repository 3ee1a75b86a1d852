#pragma once

#include <functional>
#include <span>
#include <string_view>

namespace CLI {
class App;
}

namespace tarvenor::cli {

enum ExitCode : int {
    kExitDone = 0,
    kExitBadArguments = 1,
    kExitFileError = 2,
    kExitNoKeyboard = 3,
    kExitRejected = 4,
    kExitNoServiceLibrary = 5,
};

// Runs a command with the arguments parsed into it; returns the exit code.
using CommandRunner = std::function<int()>;

// One subcommand: `tarvenor-cli <name> <arguments>`. `define` declares the command's arguments
// and options on its part of the command line and returns what runs it once they are parsed.
struct CliCommand {
    std::string_view name;
    std::string_view summary;
    CommandRunner (*define)(CLI::App& command);
};

std::span<const CliCommand> all_commands();

} // namespace tarvenor::cli
