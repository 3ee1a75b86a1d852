#include "cli/info_command.h"

#include "cli/device_session.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>
#include <sstream>

namespace tarvenor::cli {
namespace {

struct KeyboardInfo {
    int keyboards = 0;
    int active_profile = -1; // 0..2, -1 when the keyboard names none
    int macro_space = 0;
    std::vector<int> effects;
};

std::string joined(const std::vector<int>& numbers, std::string_view separator) {
    std::ostringstream text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        text << (i ? separator : "") << numbers[i];
    }
    return text.str();
}

void print_text(const KeyboardInfo& info) {
    std::cout << "Keyboards connected: " << info.keyboards << '\n'
              << "Active profile: "
              << (info.active_profile < 0 ? std::string("unknown")
                                          : std::to_string(info.active_profile + 1))
              << '\n'
              << "Macro space: " << info.macro_space << " bytes\n"
              << "Effects: " << joined(info.effects, " ") << '\n';
}

void print_json(const KeyboardInfo& info) {
    nlohmann::ordered_json object;
    object["keyboards"] = info.keyboards;
    object["active_profile"] = info.active_profile < 0
                                   ? nlohmann::ordered_json()
                                   : nlohmann::ordered_json(info.active_profile + 1);
    object["macro_space"] = info.macro_space;
    object["effects"] = info.effects;
    std::cout << object.dump() << '\n';
}

int run_info(bool json) {
    int exit_code = kExitDone;
    const auto session = DeviceSession::open(exit_code);
    if (!session) {
        return exit_code;
    }
    // One read of the parameter block answers all three questions.
    ParameterBlock block{};
    if (const DeviceStatus status = session->commands().read_parameters(block);
        status != DeviceStatus::Success) {
        return device_failure("reading the keyboard's parameters", status);
    }
    DeviceFacts& facts = session->commands().facts();
    facts.set_current_profile(active_profile_of(block));
    facts.set_macro_space(macro_space_of(block));
    const KeyboardInfo info{session->keyboards(), facts.current_profile(), facts.macro_space(),
                            effects_of(block)};
    json ? print_json(info) : print_text(info);
    return kExitDone;
}

CommandRunner define_info(CLI::App& command) {
    auto json = std::make_shared<bool>(false);
    command.add_flag("--json", *json, "print one JSON object");
    return [json] { return run_info(*json); };
}

} // namespace

const CliCommand kInfoCommand{
    "info",
    "keyboards connected, active profile (1..3), macro space in bytes and the effects offered",
    define_info};

} // namespace tarvenor::cli
