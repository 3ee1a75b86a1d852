#include "model/assignment_texts.h"

namespace tarvenor {

AssignmentTextTable::AssignmentTextTable() : slots_(kFlatEntryCount) {}

const std::u16string* AssignmentTextTable::text(int flat) const {
    const auto& slot = slots_[static_cast<std::size_t>(flat)];
    return slot ? &*slot : nullptr;
}

std::uint32_t AssignmentTextTable::size_of(int flat) const {
    const auto& slot = slots_[static_cast<std::size_t>(flat)];
    return slot ? static_cast<std::uint32_t>((slot->size() + 1) * 2) : 0;
}

void AssignmentTextTable::set(int flat, std::u16string text) {
    free(flat);
    slots_[static_cast<std::size_t>(flat)] = std::move(text);
    total_ += size_of(flat);
}

void AssignmentTextTable::free(int flat) {
    total_ -= size_of(flat);
    slots_[static_cast<std::size_t>(flat)].reset();
}

void AssignmentTextTable::clear() {
    for (auto& slot : slots_) {
        slot.reset();
    }
    total_ = 0;
}

} // namespace tarvenor
