#pragma once

#include "model/key_assignment.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarvenor {

// The program paths and typed texts of LaunchProgram and TextBlock entries, one slot per flat
// entry number, with the running total of their sizes (characters + terminator, in bytes).
class AssignmentTextTable {
public:
    AssignmentTextTable();

    bool has(int flat) const { return slots_[static_cast<std::size_t>(flat)].has_value(); }
    const std::u16string* text(int flat) const;
    // Bytes the slot takes in a file's text area; 0 for an empty slot.
    std::uint32_t size_of(int flat) const;
    std::uint32_t total() const { return total_; }

    void set(int flat, std::u16string text);
    void free(int flat);
    void clear();

private:
    std::vector<std::optional<std::u16string>> slots_;
    std::uint32_t total_ = 0;
};

} // namespace tarvenor
