#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvenor::cli {

// The udev rule that lets the logged-in user open the keyboard's hidraw nodes.
inline constexpr std::string_view kUdevRuleName = "70-tarvenor.rules";

// How to give the logged-in user access to the keyboard: install the rule, reload udev, re-plug.
std::string access_fix();

// A keyboard is plugged in, but this user may not open `nodes`: what to tell them.
std::string access_problem_text(const std::vector<std::string>& nodes);

} // namespace tarvenor::cli
