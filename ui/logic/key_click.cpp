#include "ui/logic/key_click.h"

#include "model/key_codes.h"
#include "ui/logic/keyboard_map.h"

namespace tarvenor {
namespace {

constexpr std::uint16_t kGKeyNumberBase = 0x100;

ClickOutcome assign(std::uint16_t key_number, int control_id, int bank) {
    ClickOutcome outcome;
    outcome.action = ClickAction::Assign;
    outcome.request.key_number = key_number;
    outcome.request.control_id = control_id;
    outcome.request.macro_only = control_id == id_of(MainControl::LastGKey);
    outcome.request.bank = bank;
    outcome.highlighted_control = control_id;
    return outcome;
}

ClickOutcome g_key_click(int control_id, int bank) {
    const int j = *g_button_of(control_id);
    const int slot = bank == 0 ? j : j + static_cast<int>(kGButtonCount);
    return assign(static_cast<std::uint16_t>(kGKeyNumberBase + slot), control_id, bank);
}

} // namespace

ClickOutcome decide_click(int control_id, bool light_switch, int bank) {
    bank &= 1;
    if (control_id == id_of(MainControl::MacroEdit)) {
        return g_key_click(id_of(MainControl::LastGKey), bank);
    }
    if (g_button_of(control_id)) {
        return g_key_click(control_id, bank);
    }
    if (control_id == id_of(MainControl::Fn)) {
        return light_switch ? ClickOutcome{ClickAction::Paint, {}, control_id} : ClickOutcome{};
    }
    const auto code = keyboard_key_of(control_id);
    if (!code) {
        return {};
    }
    if (light_switch) {
        return {ClickAction::Paint, {}, control_id};
    }
    return assign(key_index_of(*code), control_id, bank);
}

} // namespace tarvenor
