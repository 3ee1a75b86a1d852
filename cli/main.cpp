// tarvenor-cli: the keyboard's configuration from the command line.
#include "cli/cli_command.h"

#include <iostream>

namespace {

using tarvenor::cli::CliCommand;

void print_help(std::ostream& out) {
    out << "usage: tarvenor-cli COMMAND [ARGUMENTS]\n\nCommands:\n";
    for (const CliCommand& command : tarvenor::cli::all_commands()) {
        out << "  " << command.name << ' ' << command.arguments << "\n      " << command.summary
            << '\n';
    }
    out << "\nExit codes:\n"
           "  0  done\n"
           "  1  bad arguments or malformed file\n"
           "  2  a file could not be read or written\n"
           "  3  no keyboard connected\n"
           "  4  the keyboard did not accept a command\n"
           "  5  the HID service library could not be loaded or started\n"
           "\nTARVENOR_HIDSERV names the service library to load instead of libHidServ.so in\n"
           "the program folder (for example build/bin/libHidServSim.so, the virtual keyboard).\n";
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty() || words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
        print_help(words.empty() ? std::cerr : std::cout);
        return words.empty() ? tarvenor::cli::kExitBadArguments : tarvenor::cli::kExitDone;
    }
    for (const CliCommand& command : tarvenor::cli::all_commands()) {
        if (command.name == words[0]) {
            return command.run({words.begin() + 1, words.end()});
        }
    }
    std::cerr << "tarvenor-cli: unknown command '" << words[0] << "' (see --help)\n";
    return tarvenor::cli::kExitBadArguments;
}
