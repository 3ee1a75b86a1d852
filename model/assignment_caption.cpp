#include "model/assignment_caption.h"

#include "model/key_codes.h"
#include "model/text_encoding.h"

#include <algorithm>

namespace tarvenor {
namespace {

std::string macro_name(std::uint32_t id, const MacroStore& macros) {
    const auto found = std::find_if(macros.begin(), macros.end(),
                                    [id](const MacroRecord& m) { return m.id == id; });
    return found == macros.end() ? std::string() : utf16_to_utf8(found->name);
}

std::string detail(const KeyAssignment& a, const MacroStore& macros, const TextTable& texts) {
    switch (a.kind()) {
    case AssignmentType::Key:
        return texts.text(TextKey::KeyPromptSingle) +
               key_name(static_cast<KeyCode>(a.param), texts) + ")";
    case AssignmentType::Macro:
        return texts.text(TextKey::KeyPromptMacro) + macro_name(a.param, macros) + ")";
    case AssignmentType::Media:
        return texts.text(TextKey::KeyPromptMedia) +
               (a.param < kMediaKeyCount ? key_name(media_key_list()[a.param], texts) : "") + ")";
    case AssignmentType::Function:
        return texts.text(TextKey::KeyPromptFunction) +
               (a.param < kFunctionCount ? texts.text(function_list()[a.param]) : "") + ")";
    default:
        return {};
    }
}

} // namespace

std::string slot_name(int slot, const TextTable& texts) {
    if (slot >= kGSlotBase + kGSlotCount) {
        return "Slot " + std::to_string(slot);
    }
    if (slot >= kGSlotBase) {
        return "G" + std::to_string((slot - kGSlotBase) % 9 + 1);
    }
    return key_name(key_code_of(static_cast<KeyIndex>(slot)), texts);
}

std::string assignment_caption(int slot, const KeyAssignment& assignment, const MacroStore& macros,
                               const TextTable& texts) {
    std::string caption = slot_name(slot, texts);
    if (assignment.is(AssignmentType::Default)) {
        return caption;
    }
    return caption + texts.text(TextKey::KeyPromptSet) + detail(assignment, macros, texts);
}

} // namespace tarvenor
