#include "model/key_assignment.h"

#include "model/key_codes.h"

namespace tarvenor {

std::string_view assignment_type_name(std::uint16_t type) {
    static constexpr std::array<std::string_view, kAssignmentTypeCount> kNames{
        "Default",   "Disabled",  "Key",   "LaunchProgram", "Macro",
        "StopMacro", "TextBlock", "Media", "Function"};
    return is_defined_assignment_type(type) ? kNames[type] : std::string_view{};
}

KeyAssignment KeyAssignment::read(std::span<const std::uint8_t> bytes) {
    return {read_u16(bytes, 0), read_u16(bytes, 2), read_u32(bytes, 4), read_u32(bytes, 8),
            read_u32(bytes, 12)};
}

void KeyAssignment::write(std::span<std::uint8_t> bytes) const {
    write_u16(bytes, 0, type);
    write_u16(bytes, 2, aux_code);
    write_u32(bytes, 4, param);
    write_u32(bytes, 8, colour_key_flag);
    write_u32(bytes, 12, reserved);
}

KeyTable KeyTable::with_g_key_codes() {
    KeyTable table;
    for (int k = 0; k < kGSlotCount; ++k) {
        table.entries[kGSlotBase + k].aux_code = g_button_code(k);
    }
    return table;
}

} // namespace tarvenor
