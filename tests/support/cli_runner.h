#pragma once

#include <filesystem>
#include <string>

namespace tarvenor::testing {

struct CliRun {
    int exit_code = -1;
    std::string out;
    std::string err;
};

// Runs tarvenor-cli in a child process. `environment` holds shell assignments (values quoted by
// the caller) added after the virtual keyboard's fault and plug knobs have been cleared, so the
// tester's own shell cannot leak into a test. Output is captured through files in `scratch`, or
// standard output goes to `output` when one is named (e.g. /dev/full).
CliRun run_cli(const std::filesystem::path& scratch, const std::string& arguments,
               const std::string& environment = "", const std::string& output = "");

// run_cli() for another copy of the command line (one given a program folder of its own).
CliRun run_cli_copy(const std::filesystem::path& program, const std::filesystem::path& scratch,
                    const std::string& arguments, const std::string& environment = "",
                    const std::string& output = "");

// A path quoted for the shell.
std::string shell_quoted(const std::filesystem::path& path);

} // namespace tarvenor::testing
