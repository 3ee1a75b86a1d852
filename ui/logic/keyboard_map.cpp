#include "ui/logic/keyboard_map.h"

#include "ui/logic/skin_keys.h"

#include <algorithm>
#include <utility>

namespace tarvenor {

std::string key_skin_key(KeyCode code) {
    return skin_keys::main_window::keyboard_key(key_index_of(code));
}

std::string g_skin_key(int j) {
    return skin_keys::main_window::g_key(j);
}

std::optional<KeyCode> keyboard_key_of(int control_id) {
    const auto& keys = keyboard_key_list();
    const auto found = std::ranges::find(keys, control_id, &KeyboardKey::control_id);
    if (found == keys.end()) {
        return std::nullopt;
    }
    return found->code;
}

std::optional<int> g_button_of(int control_id) {
    const auto& ids = GButtonControlIds();
    const auto found = std::ranges::find(ids, control_id);
    if (found == ids.end()) {
        return std::nullopt;
    }
    return static_cast<int>(found - ids.begin());
}

std::optional<int> light_position_of(int control_id) {
    if (g_button_of(control_id)) {
        return kGKeyLightPosition;
    }
    if (control_id == id_of(MainControl::Fn)) {
        return kFnLightPosition;
    }
    return key_light_position(control_id);
}

} // namespace tarvenor
