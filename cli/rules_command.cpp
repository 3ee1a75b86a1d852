#include "cli/rules_command.h"

#include "cli/user_words.h"
#include "model/profile_rules_file.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iomanip>
#include <iostream>
#include <memory>

namespace tarvenor::cli {
namespace {

constexpr std::string_view kKeep = "keep";

// The rules as the file holds them; nothing (told) when it cannot be used, so that a change
// never replaces a file the user still has to mend.
std::optional<ProfileRules> read_rules(const std::filesystem::path& file, int& exit_code) {
    RulesLoad load = load_profile_rules(file);
    if (load.usable()) {
        return std::move(load.rules);
    }
    complain(load.problem);
    exit_code = load.status == RulesLoad::Status::Damaged ? kExitBadArguments : kExitFileError;
    return std::nullopt;
}

std::string default_word(const ProfileRules& rules) {
    return rules.default_profile ? std::to_string(*rules.default_profile + 1) : std::string(kKeep);
}

void print_text(const std::filesystem::path& file, const ProfileRules& rules) {
    std::size_t width = std::string_view("Application").size();
    for (const ProfileRule& rule : rules.rules) {
        width = std::max(width, rule.application.size());
    }
    std::cout << "Rules file: " << file.string() << '\n'
              << "Following the application in front: " << (rules.enabled ? "on" : "off") << '\n'
              << "Other applications: "
              << (rules.default_profile ? "profile " + default_word(rules)
                                        : std::string("keep the profile as it is"))
              << '\n';
    if (rules.rules.empty()) {
        std::cout << "No rules.\n";
        return;
    }
    std::cout << std::left << std::setw(static_cast<int>(width + 2)) << "Application"
              << "Profile\n";
    for (const ProfileRule& rule : rules.rules) {
        std::cout << std::setw(static_cast<int>(width + 2)) << rule.application << rule.profile + 1
                  << '\n';
    }
}

void print_json(const std::filesystem::path& file, const ProfileRules& rules) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const ProfileRule& rule : rules.rules) {
        list.push_back({{"application", rule.application}, {"profile", rule.profile + 1}});
    }
    nlohmann::ordered_json object;
    object["file"] = file.string();
    object["enabled"] = rules.enabled;
    object["default"] = rules.default_profile ? nlohmann::ordered_json(*rules.default_profile + 1)
                                              : nlohmann::ordered_json(kKeep);
    object["rules"] = std::move(list);
    std::cout << object.dump(2) << '\n';
}

int list_rules(bool json) {
    const std::filesystem::path file = profile_rules_path();
    int exit_code = kExitDone;
    const std::optional<ProfileRules> rules = read_rules(file, exit_code);
    if (!rules) {
        return exit_code;
    }
    json ? print_json(file, *rules) : print_text(file, *rules);
    return kExitDone;
}

// Reads the rules, lets `change` edit them (false: refused, already told) and saves them.
int change_rules(const std::function<bool(ProfileRules&)>& change) {
    const std::filesystem::path file = profile_rules_path();
    int exit_code = kExitDone;
    std::optional<ProfileRules> rules = read_rules(file, exit_code);
    if (!rules) {
        return exit_code;
    }
    if (!change(*rules)) {
        return kExitBadArguments;
    }
    if (const FileWriteResult saved = save_profile_rules(file, *rules); !saved) {
        complain("cannot save " + file.string() + ": " + saved.reason());
        return kExitFileError;
    }
    return kExitDone;
}

bool add_rule(ProfileRules& rules, const std::string& application, int profile) {
    if (const std::string problem = application_name_problem(application); !problem.empty()) {
        complain(problem);
        return false;
    }
    rules.set(application, profile - 1);
    return true;
}

bool remove_rule(ProfileRules& rules, const std::string& application) {
    if (!rules.remove(application)) {
        complain("no rule names " + application);
        return false;
    }
    return true;
}

bool set_default(ProfileRules& rules, const std::string& value) {
    if (value == kKeep) {
        rules.default_profile.reset();
        return true;
    }
    if (value.size() == 1 && value[0] >= '1' && value[0] <= '3') {
        rules.default_profile = value[0] - '1';
        return true;
    }
    complain("the default is 1, 2, 3 or keep, not \"" + value + "\"");
    return false;
}

struct RulesArguments {
    bool json = false;
    std::string application;
    int profile = 0;
    std::string default_value;
};

CommandRunner define_rules(CLI::App& command) {
    auto arguments = std::make_shared<RulesArguments>();
    command.add_flag("--json", arguments->json, "print one JSON object");
    CLI::App* add = command.add_subcommand("add", "make profile N follow application APP");
    add->add_option("APP", arguments->application,
                    "X11 class or instance, Wayland app id or executable name")
        ->required();
    add->add_option("N", arguments->profile, "the profile (1..3)")
        ->required()
        ->check(CLI::Range(1, 3));
    CLI::App* remove = command.add_subcommand("remove", "remove the rule for application APP");
    remove->add_option("APP", arguments->application, "the application")->required();
    CLI::App* fallback =
        command.add_subcommand("default", "the profile for other applications (or keep)");
    fallback->add_option("N", arguments->default_value, "1..3, or keep")->required();
    return [arguments, add, remove, fallback]() -> int {
        RulesArguments& a = *arguments;
        if (add->parsed()) {
            return change_rules(
                [&a](ProfileRules& rules) { return add_rule(rules, a.application, a.profile); });
        }
        if (remove->parsed()) {
            return change_rules(
                [&a](ProfileRules& rules) { return remove_rule(rules, a.application); });
        }
        if (fallback->parsed()) {
            return change_rules(
                [&a](ProfileRules& rules) { return set_default(rules, a.default_value); });
        }
        return list_rules(a.json);
    };
}

} // namespace

const CliCommand kRulesCommand{
    "rules", "list or change which profile follows the application in front", define_rules};

} // namespace tarvenor::cli
