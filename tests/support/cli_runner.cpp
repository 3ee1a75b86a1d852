#include "cli_runner.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/wait.h>

namespace tarvenor::testing {
namespace {

std::string read_all(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

std::string shell_quoted(const std::filesystem::path& path) {
    std::string text(1, '\'');
    return text.append(path.string()).append(1, '\'');
}

CliRun run_cli(const std::filesystem::path& scratch, const std::string& arguments,
               const std::string& environment, const std::string& output) {
    return run_cli_copy(TARVENOR_CLI, scratch, arguments, environment, output);
}

CliRun run_cli_copy(const std::filesystem::path& program, const std::filesystem::path& scratch,
                    const std::string& arguments, const std::string& environment,
                    const std::string& output) {
    const std::filesystem::path out =
        output.empty() ? scratch / "cli-stdout" : std::filesystem::path(output);
    const auto err = scratch / "cli-stderr";
    const std::string command =
        "env -u TARVENOR_SIM_FAULT -u TARVENOR_SIM_UNPLUGGED -u TARVENOR_SIM_TRAFFIC " +
        environment + " " + shell_quoted(program) + " " + arguments + " >" + shell_quoted(out) +
        " 2>" + shell_quoted(err);
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output.empty() ? read_all(out) : "",
            read_all(err)};
}

} // namespace tarvenor::testing
