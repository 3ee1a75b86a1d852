#include "app/start_options.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace tarvenor {
namespace {

bool same_text(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

bool is_option(std::string_view argument, std::string_view name) {
    for (std::string_view prefix : {"/", "--"}) {
        if (argument.starts_with(prefix) && same_text(argument.substr(prefix.size()), name)) {
            return true;
        }
    }
    return false;
}

} // namespace

StartOptions parse_start_options(const std::vector<std::string>& arguments) {
    StartOptions options;
    for (const std::string& argument : arguments) {
        options.quiet_start = options.quiet_start || is_option(argument, "start");
        options.kill = options.kill || is_option(argument, "kill");
        options.help = options.help || argument == "--help" || argument == "-h";
        options.version = options.version || argument == "--version";
    }
    return options;
}

} // namespace tarvenor
