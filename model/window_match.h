#pragma once

#include "model/profile_rules.h"

#include <optional>
#include <string>
#include <vector>

namespace tarvenor {

// What the desktop tells of the window that has the focus; any of it may be empty.
struct FocusedWindow {
    std::string instance;     // X11: WM_CLASS instance
    std::string window_class; // X11: WM_CLASS class
    std::string app_id;       // Wayland: the toplevel's app id
    std::string executable;   // the file name of the window's process's executable

    // The names a rule may give, most telling first, without empty or repeated ones.
    std::vector<std::string> names() const;

    friend bool operator==(const FocusedWindow&, const FocusedWindow&) = default;
};

// The profile the focused window asks for, and why.
struct ProfileChoice {
    enum class Reason { Rule, Default, Keep };

    Reason reason = Reason::Keep;
    std::optional<int> profile; // nothing: leave the profile as it is
    std::string application;    // Rule: the rule's application
};

// Whether a rule's application names the window's name: equal without regard to case, or the
// name is "<application>.exe" (a Windows game under Wine or Proton).
bool rule_names(std::string_view application, std::string_view name);

// The first rule (in the file's order) naming any of the window's names; else the default.
ProfileChoice choose_profile(const ProfileRules& rules, const FocusedWindow& window);

} // namespace tarvenor
