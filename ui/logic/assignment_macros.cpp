#include "ui/logic/assignment_macros.h"

#include "model/text_encoding.h"

#include <algorithm>
#include <array>
#include <cwctype>
#include <mutex>

namespace tarvenor {
namespace {

char16_t folded(char16_t unit) {
    return static_cast<char16_t>(std::towlower(static_cast<std::wint_t>(unit)));
}

bool starts_with_ignoring_case(std::u16string_view text, std::u16string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char16_t a, char16_t b) { return folded(a) == folded(b); });
}

} // namespace

void MacroList::load(const MacroStore& store) {
    macros_ = store;
    mark_committed();
    selected_ = -1;
}

void MacroList::clear() {
    macros_.clear();
    selected_ = -1;
}

void MacroList::select(int position) {
    selected_ = valid(position) ? position : -1;
}

MacroRecord* MacroList::selected_macro() {
    return valid(selected_) ? &macros_[static_cast<std::size_t>(selected_)] : nullptr;
}

int MacroList::position_of(std::uint32_t id) const {
    const auto found = std::find_if(macros_.begin(), macros_.end(),
                                    [id](const MacroRecord& m) { return m.id == id; });
    return found == macros_.end() ? -1 : static_cast<int>(found - macros_.begin());
}

std::uint16_t MacroList::lowest_free_id() const {
    std::array<bool, MacroRecord::kMaxCount + 1> used{};
    for (const MacroRecord& macro : macros_) {
        if (macro.id <= MacroRecord::kMaxCount) {
            used[macro.id] = true;
        }
    }
    for (std::uint16_t id = 1; id <= MacroRecord::kMaxCount; ++id) {
        if (!used[id]) {
            return id;
        }
    }
    return 0;
}

void MacroList::add(std::u16string name) {
    MacroRecord macro;
    name.resize(std::min(name.size(), MacroRecord::kMaxNameLength));
    macro.name = std::move(name);
    macro.cycles = 1;
    macro.is_new = 1;
    macro.id = lowest_free_id();
    macros_.push_back(std::move(macro));
    selected_ = size() - 1;
}

void MacroList::remove(int position) {
    if (!valid(position)) {
        return;
    }
    macros_.erase(macros_.begin() + position);
    selected_ = empty() ? -1 : std::max(0, position - 1);
}

void MacroList::rename_selected(std::u16string name) {
    if (MacroRecord* macro = selected_macro()) {
        name.resize(std::min(name.size(), MacroRecord::kMaxNameLength));
        macro->name = std::move(name);
    }
}

bool MacroList::any_name_starts_with(std::u16string_view prefix) const {
    return std::any_of(macros_.begin(), macros_.end(), [prefix](const MacroRecord& m) {
        return starts_with_ignoring_case(m.name, prefix);
    });
}

std::vector<std::string> MacroList::names() const {
    std::vector<std::string> names;
    names.reserve(macros_.size());
    for (const MacroRecord& macro : macros_) {
        names.push_back(utf16_to_utf8(macro.name));
    }
    return names;
}

void MacroList::mark_committed() {
    for (MacroRecord& macro : macros_) {
        macro.is_new = 0;
    }
}

std::u16string next_macro_name(const MacroList& list, std::u16string_view prefix, int& counter) {
    if (list.empty()) {
        counter = 0;
    }
    std::u16string name;
    do {
        ++counter;
        name = std::u16string(prefix) + utf8_to_utf16(std::to_string(counter));
    } while (list.any_name_starts_with(name));
    return name;
}

bool macro_used_by_keys(const Configuration& configuration, std::uint16_t id) {
    for (int flat = 0; flat < kFlatEntryCount; ++flat) {
        const KeyAssignment entry = configuration.entry(flat);
        if (entry.is(AssignmentType::Macro) && entry.param == id) {
            return true;
        }
    }
    return false;
}

} // namespace tarvenor
