#include "model/window_match.h"

#include <algorithm>

namespace tarvenor {
namespace {

constexpr std::string_view kWindowsSuffix = ".exe";

} // namespace

std::vector<std::string> FocusedWindow::names() const {
    std::vector<std::string> names;
    for (const std::string* name : {&app_id, &window_class, &instance, &executable}) {
        if (!name->empty() && std::ranges::none_of(names, [name](const std::string& known) {
                return same_application(known, *name);
            })) {
            names.push_back(*name);
        }
    }
    return names;
}

bool rule_names(std::string_view application, std::string_view name) {
    if (application.empty()) {
        return false;
    }
    if (same_application(application, name)) {
        return true;
    }
    return name.size() == application.size() + kWindowsSuffix.size() &&
           same_application(name.substr(application.size()), kWindowsSuffix) &&
           same_application(name.substr(0, application.size()), application);
}

ProfileChoice choose_profile(const ProfileRules& rules, const FocusedWindow& window) {
    const std::vector<std::string> names = window.names();
    for (const ProfileRule& rule : rules.rules) {
        if (std::ranges::any_of(names, [&rule](const std::string& name) {
                return rule_names(rule.application, name);
            })) {
            return {ProfileChoice::Reason::Rule, rule.profile, rule.application};
        }
    }
    if (rules.default_profile) {
        return {ProfileChoice::Reason::Default, rules.default_profile, {}};
    }
    return {};
}

} // namespace tarvenor
