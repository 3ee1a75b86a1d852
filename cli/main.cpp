// tarvenor-cli: the keyboard's configuration from the command line.
#include "cli/cli_command.h"
#include "cli/device_session.h"
#include "cli/user_words.h"
#include "model/program_files.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>

namespace {

using namespace tarvenor::cli;

constexpr const char* kExitCodes = "Exit codes:\n"
                                   "  0  done\n"
                                   "  1  bad arguments or malformed file\n"
                                   "  2  a file (or the output) could not be read or written\n"
                                   "  3  no keyboard connected\n"
                                   "  4  the keyboard did not accept a command\n"
                                   "  5  the HID service library could not be loaded or started\n"
                                   "  128 + N  stopped by signal N (SIGINT, SIGTERM, SIGHUP)\n";

// Names the service libraries where this copy keeps them: beside it in a build folder, in the
// private library folder when installed.
std::string footer() {
    const std::filesystem::path folder = tarvenor::running_program_files().library_folder;
    return std::string(kExitCodes) +
           "\nTARVENOR_HIDSERV names the service library to load instead of\n  " +
           (folder / "libHidServ.so").string() + "\nsuch as the virtual keyboard,\n  " +
           (folder / "libHidServSim.so").string();
}

std::string failure_text(const CLI::App*, const CLI::Error& error) {
    return std::string("tarvenor-cli: ") + error.what() + "\n(see tarvenor-cli --help)\n";
}

// A parse that ended in help or the version has printed it and succeeded; any other is a usage
// error.
int parse_failure(CLI::App& app, const CLI::ParseError& error) {
    if (app.get_subcommands().empty() && !app.remaining().empty()) {
        complain("unknown command '" + app.remaining().front() + "' (see tarvenor-cli --help)");
        return kExitBadArguments;
    }
    const int code = app.exit(error, std::cout, std::cerr);
    return code == 0 ? kExitDone : kExitBadArguments;
}

// Output that could not be written (a full disk, a closed pipe) is a failure, not success.
int checked_output(int exit_code) {
    // A write that failed earlier has left its reason in errno; the final flush may add its own.
    if (std::cout) {
        errno = 0;
    }
    if (std::cout.flush()) {
        return exit_code;
    }
    const int error = errno;
    complain(std::string("cannot write the output: ") +
             (error != 0 ? std::strerror(error) : "write error"));
    return exit_code == kExitDone ? kExitFileError : exit_code;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app("The keyboard's configuration without the windows.", "tarvenor-cli");
    app.set_version_flag("--version", "tarvenor-cli " TARVENOR_VERSION);
    app.footer(footer());
    app.failure_message(failure_text);
    app.require_subcommand(1);
    app.fallthrough();
    bool verbose = false;
    app.add_flag("-v,--verbose", verbose, "also name the keyboard's status numbers in failures");

    std::map<const CLI::App*, CommandRunner> runners;
    for (const CliCommand& command : all_commands()) {
        CLI::App* sub = app.add_subcommand(std::string(command.name), std::string(command.summary));
        runners[sub] = command.define(*sub);
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return checked_output(parse_failure(app, error));
    }
    set_verbose(verbose);
    const CLI::App* chosen = app.get_subcommands().front();
    return checked_output(exit_code_after_signals(runners.at(chosen)()));
}
