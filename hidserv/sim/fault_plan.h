#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarvenor::sim {

enum class Fault { None, NoAnswer, StatusFF, StatusFE, BadEcho };

// Which command reports the virtual keyboard mishandles, and how. Written as
// "<fault> [count] [after]": the fault hits `count` command reports (every one when the count is
// missing) after `after` good ones. Faulted commands are not executed.
class FaultPlan {
public:
    static std::optional<FaultPlan> parse(std::string_view text);

    // Consumes one command report and tells what happens to it.
    Fault next();
    std::string describe() const;

private:
    Fault fault_ = Fault::None;
    long remaining_ = -1; // -1: without end
    long good_before_ = 0;
};

} // namespace tarvenor::sim
