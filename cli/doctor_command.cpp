#include "cli/doctor_command.h"

#include "cli/doctor_checks.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <iomanip>
#include <iostream>
#include <memory>

namespace tarvenor::cli {
namespace {

constexpr const char* state_word(DoctorCheck::State state) {
    switch (state) {
    case DoctorCheck::State::Ok:
        return "OK";
    case DoctorCheck::State::Fix:
        return "FIX";
    case DoctorCheck::State::Unknown:
        break;
    }
    return "UNKNOWN";
}

void print_text(const std::vector<DoctorCheck>& checks) {
    for (const DoctorCheck& check : checks) {
        std::cout << std::left << std::setw(9) << state_word(check.state) << check.name << ": "
                  << check.detail;
        if (!check.fix.empty()) {
            std::cout << " -> " << check.fix;
        }
        std::cout << '\n';
    }
}

void print_json(const std::vector<DoctorCheck>& checks, bool all_pass) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const DoctorCheck& check : checks) {
        nlohmann::ordered_json entry;
        entry["check"] = check.name;
        entry["status"] = state_word(check.state);
        entry["detail"] = check.detail;
        entry["fix"] =
            check.fix.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(check.fix);
        list.push_back(std::move(entry));
    }
    nlohmann::ordered_json object;
    object["ok"] = all_pass;
    object["checks"] = std::move(list);
    std::cout << object.dump(2) << '\n';
}

int run_doctor(bool json) {
    const std::vector<DoctorCheck> checks = run_doctor_checks(running_program_files());
    // A check that could not be made (no display to ask) is no fault of the set-up.
    const bool all_pass = std::none_of(checks.begin(), checks.end(), [](const DoctorCheck& c) {
        return c.state == DoctorCheck::State::Fix;
    });
    json ? print_json(checks, all_pass) : print_text(checks);
    return all_pass ? kExitDone : kExitBadArguments;
}

CommandRunner define_doctor(CLI::App& command) {
    auto json = std::make_shared<bool>(false);
    command.add_flag("--json", *json, "print one JSON object");
    return [json] { return run_doctor(*json); };
}

} // namespace

const CliCommand kDoctorCommand{
    "doctor",
    "checks the service library, the keyboard's device nodes, the udev rule, the notification "
    "area, a font for the chosen language and the program's files; prints OK or the fix for each",
    define_doctor};

} // namespace tarvenor::cli
