#include "cli/profile_command.h"

#include "cli/device_session.h"
#include "cli/user_words.h"
#include "engine/profile_switch.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <optional>

namespace tarvenor::cli {
namespace {

int print_active_profile(CommandSet& commands) {
    const int profile = commands.get_current_profile();
    if (profile < 0) {
        complain("the keyboard does not name a valid active profile");
        return kExitRejected;
    }
    std::cout << profile + 1 << '\n';
    return kExitDone;
}

// wanted: 1..3, or nullopt to print the active profile.
int run_profile(std::optional<int> wanted) {
    int exit_code = kExitDone;
    const auto session = DeviceSession::open(exit_code);
    if (!session) {
        return exit_code;
    }
    if (!wanted) {
        return print_active_profile(session->commands());
    }
    if (const DeviceStatus status = make_profile_active(session->commands(), *wanted - 1);
        status != DeviceStatus::Success) {
        return device_failure("switching the profile", status);
    }
    return kExitDone;
}

CommandRunner define_profile(CLI::App& command) {
    auto wanted = std::make_shared<std::optional<int>>();
    command.add_option("N", *wanted, "the profile to make active")
        ->check(CLI::Range(1, kProfileCount));
    return [wanted] { return run_profile(*wanted); };
}

} // namespace

const CliCommand kProfileCommand{
    "profile", "print the active profile (1..3), or make profile N active", define_profile};

} // namespace tarvenor::cli
