#pragma once

#include "model/configuration.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarvenor {

// The macro pick-list of the assignment dialog: a copy of every macro, edited in place until
// Apply commits them, and the selected position.
class MacroList {
public:
    // Copies the store's macros (is_new cleared); nothing selected.
    void load(const MacroStore& store);
    void clear();

    const MacroStore& macros() const { return macros_; }
    int size() const { return static_cast<int>(macros_.size()); }
    bool empty() const { return macros_.empty(); }
    bool full() const { return macros_.size() >= MacroRecord::kMaxCount; }
    // -1 when no macro is selected.
    int selected() const { return selected_; }
    void select(int position);
    // The selected copy; nullptr when none is selected.
    MacroRecord* selected_macro();
    // The position of the macro with that id, -1 when none has it.
    int position_of(std::uint32_t id) const;

    // The lowest id in 1..100 no listed macro uses (0 when all are taken).
    std::uint16_t lowest_free_id() const;
    // Appends a new macro (cycles 1, is_new 1, the lowest free id) and selects it.
    void add(std::u16string name);
    // Drops the macro; the selection moves to the previous one, or the first.
    void remove(int position);
    // Renames the selected macro, cut to the record's name field.
    void rename_selected(std::u16string name);
    // A name begins with `prefix`, compared without regard to case.
    bool any_name_starts_with(std::u16string_view prefix) const;

    std::vector<std::string> names() const;
    // After Apply the copies are committed: none is new any more.
    void mark_committed();

private:
    bool valid(int position) const { return position >= 0 && position < size(); }

    MacroStore macros_;
    int selected_ = -1;
};

// "<prefix><n>" for the next n after `counter` that no listed name begins with; the counter
// keeps the number used.
std::u16string next_macro_name(const MacroList& list, std::u16string_view prefix, int& counter);

// Whether a key of any table is given the macro.
bool macro_used_by_keys(const Configuration& configuration, std::uint16_t id);

} // namespace tarvenor
