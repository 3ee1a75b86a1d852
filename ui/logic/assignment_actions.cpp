#include "ui/logic/assignment_actions.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <limits>

namespace tarvenor {
namespace {

constexpr std::uint32_t kDelayStep = 10;
constexpr unsigned long long kMinCycles = 1;
constexpr unsigned long long kMaxCycles = 255;

// The decimal number a text starts with; nothing for text that starts with no digit.
std::optional<unsigned long long> leading_number(const std::string& text) {
    const char* begin = text.c_str();
    while (*begin == ' ') {
        ++begin;
    }
    if (*begin < '0' || *begin > '9') {
        return std::nullopt;
    }
    errno = 0;
    const unsigned long long value = std::strtoull(begin, nullptr, 10);
    return errno == ERANGE ? std::numeric_limits<unsigned long long>::max() : value;
}

} // namespace

void ActionList::select(int row) {
    selected_ = valid(row) ? row : -1;
}

void ActionList::load(const std::vector<MacroAction>& actions) {
    clear();
    for (const MacroAction& action : actions) {
        add_action_row(action, RowPlacement{});
    }
}

void ActionList::clear() {
    rows_.clear();
    selected_ = -1;
}

bool ActionList::add_action_row(MacroAction action, const RowPlacement& placement) {
    if (rows_.size() >= MacroRecord::kMaxActions) {
        return false;
    }
    if (action.direction > MacroAction::kUp) {
        action.direction = MacroAction::kDown;
    }
    const int position = placement.after_selection && selected_ >= 0 ? selected_ + 1 : size();
    if (!placement.keep_delay) {
        // The measured pause belongs to the row before; this row takes over that row's delay.
        const std::uint32_t measured = action.delay;
        action.delay = 0;
        if (position > 0) {
            action.delay = rows_[static_cast<std::size_t>(position - 1)].delay;
            rows_[static_cast<std::size_t>(position - 1)].delay = measured;
        }
    }
    rows_.insert(rows_.begin() + position, action);
    if (placement.select) {
        selected_ = position;
    } else if (selected_ >= position) {
        ++selected_;
    }
    return true;
}

bool ActionList::delete_selected() {
    if (!valid(selected_)) {
        return false;
    }
    rows_.erase(rows_.begin() + selected_);
    selected_ = -1;
    return true;
}

bool ActionList::move_selected(RowMove move) {
    if (!valid(selected_)) {
        return false;
    }
    const int last = size() - 1;
    int target = selected_;
    switch (move) {
    case RowMove::Top:
        target = 0;
        break;
    case RowMove::Up:
        target = std::max(0, selected_ - 1);
        break;
    case RowMove::Down:
        target = std::min(last, selected_ + 1);
        break;
    case RowMove::Bottom:
        target = last;
        break;
    }
    const MacroAction moved = rows_[static_cast<std::size_t>(selected_)];
    rows_.erase(rows_.begin() + selected_);
    rows_.insert(rows_.begin() + target, moved);
    selected_ = target;
    return true;
}

bool ActionList::set_key_at_choice(int row, int choice_position) {
    const KeyCode code = key_code_at_choice(choice_position);
    if (!valid(row) || code == 0 || rows_[static_cast<std::size_t>(row)].key == code) {
        return false;
    }
    rows_[static_cast<std::size_t>(row)].key = code;
    return true;
}

bool ActionList::set_direction(int row, std::uint16_t direction) {
    if (!valid(row) || direction > MacroAction::kUp ||
        rows_[static_cast<std::size_t>(row)].direction == direction) {
        return false;
    }
    rows_[static_cast<std::size_t>(row)].direction = direction;
    return true;
}

bool ActionList::set_delay(int row, std::uint32_t delay) {
    if (!valid(row) || rows_[static_cast<std::size_t>(row)].delay == delay) {
        return false;
    }
    rows_[static_cast<std::size_t>(row)].delay = delay;
    return true;
}

ActionRowText ActionList::row_text(int row, const TextTable& texts) const {
    if (!valid(row)) {
        return {};
    }
    const MacroAction& action = rows_[static_cast<std::size_t>(row)];
    return {key_name(action.key, texts), direction_text(action.direction),
            std::to_string(action.delay)};
}

const char* direction_text(std::uint16_t direction) {
    return direction == MacroAction::kUp ? ActionList::kUpText : ActionList::kDownText;
}

DelayEntry parse_delay_text(const std::string& text) {
    const unsigned long long typed = leading_number(text).value_or(0);
    DelayEntry entry;
    entry.capped = typed > MacroAction::kMaxDelay;
    const auto delay = static_cast<std::uint32_t>(entry.capped ? MacroAction::kMaxDelay : typed);
    entry.delay = delay - delay % kDelayStep;
    return entry;
}

int parse_cycles_text(const std::string& text) {
    const unsigned long long typed = leading_number(text).value_or(kMinCycles);
    return static_cast<int>(std::clamp<unsigned long long>(typed, kMinCycles, kMaxCycles));
}

std::string normalised_cycles_text(const std::string& text) {
    const std::optional<unsigned long long> typed = leading_number(text);
    if (!typed || *typed < kMinCycles) {
        return std::to_string(kMinCycles);
    }
    return *typed > kMaxCycles ? std::to_string(kMaxCycles) : text;
}

} // namespace tarvenor
