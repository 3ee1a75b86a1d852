#include "model/assignment_caption.h"

#include "model/key_codes.h"
#include "model/text_encoding.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>

namespace tarvenor {
namespace {

std::string macro_name(std::uint32_t id, const MacroStore& macros) {
    const auto found = std::find_if(macros.begin(), macros.end(),
                                    [id](const MacroRecord& m) { return m.id == id; });
    return found == macros.end() ? std::string() : utf16_to_utf8(found->name);
}

// Appends into one string: chains of operator+ on temporaries make GCC 12 warn (-Wrestrict)
// about an overlap that cannot happen.
std::string joined(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (const std::string_view part : parts) {
        text.append(part);
    }
    return text;
}

// "<prompt><what>)", the second half of a caption.
std::string detail(const KeyAssignment& a, const MacroStore& macros, const TextTable& texts) {
    switch (a.kind()) {
    case AssignmentType::Key:
        return joined({texts.text(TextKey::KeyPromptSingle),
                       key_name(static_cast<KeyCode>(a.param), texts), ")"});
    case AssignmentType::Macro:
        return joined({texts.text(TextKey::KeyPromptMacro), macro_name(a.param, macros), ")"});
    case AssignmentType::Media:
        return joined({texts.text(TextKey::KeyPromptMedia),
                       a.param < kMediaKeyCount ? key_name(media_key_list()[a.param], texts) : "",
                       ")"});
    case AssignmentType::Function:
        return joined({texts.text(TextKey::KeyPromptFunction),
                       a.param < kFunctionCount ? texts.text(function_list()[a.param]) : "", ")"});
    default:
        return {};
    }
}

} // namespace

std::string slot_name(int slot, const TextTable& texts) {
    if (slot >= kGSlotBase + kGSlotCount) {
        return joined({"Slot ", std::to_string(slot)});
    }
    if (slot >= kGSlotBase) {
        return joined({"G", std::to_string((slot - kGSlotBase) % 9 + 1)});
    }
    return key_name(key_code_of(static_cast<KeyIndex>(slot)), texts);
}

std::string assignment_caption(int slot, const KeyAssignment& assignment, const MacroStore& macros,
                               const TextTable& texts) {
    std::string caption = slot_name(slot, texts);
    if (assignment.is(AssignmentType::Default)) {
        return caption;
    }
    return joined({caption, texts.text(TextKey::KeyPromptSet), detail(assignment, macros, texts)});
}

} // namespace tarvenor
