#pragma once

#include "model/key_assignment.h"
#include "model/macro_record.h"
#include "model/text_table.h"

#include <string>

namespace tarvenor {

// The name of the key a table slot belongs to: the key's name, "G1".."G9" for a G-key slot,
// "Slot N" for the unused slots.
std::string slot_name(int slot, const TextTable& texts);

// The tooltip text describing what a key does: its name, and unless it keeps its default, what it
// was set to ("AKeys, Set: Key(B)").
std::string assignment_caption(int slot, const KeyAssignment& assignment, const MacroStore& macros,
                               const TextTable& texts);

} // namespace tarvenor
