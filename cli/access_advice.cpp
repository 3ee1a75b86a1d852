#include "cli/access_advice.h"

namespace tarvenor::cli {

std::string access_fix() {
    return "install the udev rule " + std::string(kUdevRuleName) +
           " (the package does; from a build: copy resources/linux/" + std::string(kUdevRuleName) +
           " to /etc/udev/rules.d/), run 'sudo udevadm control --reload && sudo udevadm "
           "trigger', then unplug the keyboard and plug it in again";
}

std::string access_problem_text(const std::vector<std::string>& nodes) {
    std::string text = "a keyboard is plugged in, but this user may not open ";
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        text.append(i ? ", " : "").append(nodes[i]);
    }
    return text + ": " + access_fix();
}

} // namespace tarvenor::cli
