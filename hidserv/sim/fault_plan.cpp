#include "hidserv/sim/fault_plan.h"

#include <charconv>
#include <sstream>
#include <vector>

namespace tarvenor::sim {
namespace {

struct FaultName {
    Fault fault;
    std::string_view name;
};

constexpr FaultName kFaultNames[] = {{Fault::None, "none"},
                                     {Fault::NoAnswer, "no-answer"},
                                     {Fault::StatusFF, "status-ff"},
                                     {Fault::StatusFE, "status-fe"},
                                     {Fault::BadEcho, "bad-echo"}};

std::optional<Fault> fault_named(std::string_view name) {
    for (const FaultName& entry : kFaultNames) {
        if (entry.name == name) {
            return entry.fault;
        }
    }
    return std::nullopt;
}

std::string_view name_of(Fault fault) {
    for (const FaultName& entry : kFaultNames) {
        if (entry.fault == fault) {
            return entry.name;
        }
    }
    return "?";
}

std::optional<long> parse_count(std::string_view word) {
    long value = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size() || value < 0) {
        return std::nullopt;
    }
    return value;
}

std::vector<std::string> split_words(std::string_view text) {
    std::istringstream stream{std::string(text)};
    std::vector<std::string> words;
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    return words;
}

} // namespace

std::optional<FaultPlan> FaultPlan::parse(std::string_view text) {
    const std::vector<std::string> words = split_words(text);
    if (words.empty() || words.size() > 3) {
        return std::nullopt;
    }
    FaultPlan plan;
    const std::optional<Fault> fault = fault_named(words[0]);
    if (!fault) {
        return std::nullopt;
    }
    plan.fault_ = *fault;
    if (words.size() >= 2) {
        const std::optional<long> count = parse_count(words[1]);
        if (!count) {
            return std::nullopt;
        }
        plan.remaining_ = *count;
    }
    if (words.size() == 3) {
        const std::optional<long> after = parse_count(words[2]);
        if (!after) {
            return std::nullopt;
        }
        plan.good_before_ = *after;
    }
    return plan;
}

Fault FaultPlan::next() {
    if (fault_ == Fault::None || remaining_ == 0) {
        return Fault::None;
    }
    if (good_before_ > 0) {
        --good_before_;
        return Fault::None;
    }
    if (remaining_ > 0) {
        --remaining_;
    }
    return fault_;
}

std::string FaultPlan::describe() const {
    if (fault_ == Fault::None || remaining_ == 0) {
        return "none";
    }
    std::string text(name_of(fault_));
    if (remaining_ < 0) {
        text += " always";
    } else {
        text.append(1, ' ').append(std::to_string(remaining_));
    }
    if (good_before_ > 0) {
        text += " after " + std::to_string(good_before_);
    }
    return text;
}

} // namespace tarvenor::sim
