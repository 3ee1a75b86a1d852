#include "cli/profile_command.h"

#include "cli/device_session.h"

#include <iostream>
#include <optional>

namespace tarvenor::cli {
namespace {

// "1".."3" as the profile index 0..2.
std::optional<int> parse_profile(const std::string& word) {
    if (word.size() != 1 || word[0] < '1' || word[0] > '0' + kProfileCount) {
        return std::nullopt;
    }
    return word[0] - '1';
}

int print_active_profile(CommandSet& commands) {
    const int profile = commands.get_current_profile();
    if (profile < 0) {
        std::cerr << "tarvenor-cli: the keyboard did not tell its active profile\n";
        return kExitRejected;
    }
    std::cout << profile + 1 << '\n';
    return kExitDone;
}

int run_profile(const std::vector<std::string>& arguments) {
    std::optional<int> wanted;
    if (!arguments.empty()) {
        wanted = parse_profile(arguments[0]);
        if (arguments.size() > 1 || !wanted) {
            std::cerr << "tarvenor-cli: profile takes one number, 1 to 3\n";
            return kExitBadArguments;
        }
    }
    int exit_code = kExitDone;
    const auto session = DeviceSession::open(exit_code);
    if (!session) {
        return exit_code;
    }
    if (!wanted) {
        return print_active_profile(session->commands());
    }
    if (const DeviceStatus status = session->commands().set_current_profile(*wanted);
        status != DeviceStatus::Success) {
        return device_failure("switching the profile", status);
    }
    return kExitDone;
}

} // namespace

const CliCommand kProfileCommand{
    "profile", "[N]", "print the active profile (1..3), or make profile N active", run_profile};

} // namespace tarvenor::cli
