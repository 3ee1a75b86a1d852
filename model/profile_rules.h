#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvenor {

// One application and the keyboard profile (0..2) it wants while one of its windows has the
// focus. The application is a name the desktop reports: an X11 class or instance, a Wayland app
// id, or an executable's file name.
struct ProfileRule {
    std::string application;
    int profile = 0;

    friend bool operator==(const ProfileRule&, const ProfileRule&) = default;
};

// Which profile follows the application in front.
struct ProfileRules {
    bool enabled = true;
    // For an application no rule names; nothing: the profile stays as it is.
    std::optional<int> default_profile;
    std::vector<ProfileRule> rules;

    // The rule for an application name, compared without regard to (ASCII) case.
    const ProfileRule* find(std::string_view application) const;
    // Adds a rule or changes the profile of the one naming the same application.
    void set(std::string_view application, int profile);
    // False when no rule names the application.
    bool remove(std::string_view application);

    friend bool operator==(const ProfileRules&, const ProfileRules&) = default;
};

// Why a rules file was not taken: the line (from 1; 0 for the whole file) and what is wrong.
struct RulesError {
    int line = 0;
    std::string reason;

    std::string text() const;
};

struct ParsedRules {
    std::optional<ProfileRules> rules;
    RulesError error;
};

// Application names are compared without regard to (ASCII) case.
bool same_application(std::string_view a, std::string_view b);

// What an application name may be: not empty, at most 255 bytes, on one line, without '=' and
// not starting with '#', ';' or '['. Empty when it may; otherwise why not.
std::string application_name_problem(std::string_view application);

// The file:
//   [settings]
//   enabled = yes|no
//   default = 1|2|3|keep
//   [rules]
//   application = 1|2|3
// with blank lines and lines starting with '#' or ';' ignored. Anything else is an error, so a
// mistyped line is told instead of silently doing nothing.
ParsedRules parse_profile_rules(std::string_view text);
std::string serialise_profile_rules(const ProfileRules& rules);

} // namespace tarvenor
