#include "ui/logic/rules_page.h"

#include <algorithm>
#include <cctype>

namespace tarvenor {

std::vector<std::string> running_application_names(const std::vector<FocusedWindow>& windows) {
    std::vector<std::string> names;
    for (const FocusedWindow& window : windows) {
        for (const std::string& name : window.names()) {
            if (std::ranges::none_of(names, [&name](const std::string& known) {
                    return same_application(known, name);
                })) {
                names.push_back(name);
            }
        }
    }
    std::ranges::sort(names, [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(),
            [](unsigned char x, unsigned char y) { return std::tolower(x) < std::tolower(y); });
    });
    return names;
}

} // namespace tarvenor
