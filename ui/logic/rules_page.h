#pragma once

#include "model/atomic_file.h"
#include "model/profile_rules.h"
#include "model/text_table.h"
#include "model/window_match.h"

#include <optional>
#include <string>
#include <vector>

namespace tarvenor {

// What the rules page works on: the rules in force and where the focus comes from.
class RulesPageHost {
public:
    virtual ~RulesPageHost() = default;
    virtual const ProfileRules& rules() const = 0;
    // Saved to the rules file and in force at once; why not, when they could not be saved.
    virtual FileWriteResult save_rules(const ProfileRules& rules) = 0;
    virtual std::vector<FocusedWindow> running_windows() const = 0;
    // How the focus is followed ("X11"), and why it is not (empty when it is).
    virtual std::string focus_source() const = 0;
    virtual std::optional<OwnText> focus_problem() const = 0;
    // The rules file's problem while it cannot be used; empty when it can.
    virtual std::string rules_problem() const = 0;
};

// The names a rule can give the applications that show windows now: every name the desktop
// reports for them (app id, class, instance, executable), once, alphabetical ignoring case.
std::vector<std::string> running_application_names(const std::vector<FocusedWindow>& windows);

} // namespace tarvenor
