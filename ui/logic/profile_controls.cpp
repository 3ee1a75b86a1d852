#include "ui/logic/profile_controls.h"

#include "ui/logic/skin_keys.h"

#include <algorithm>
#include <charconv>

namespace tarvenor {
namespace {

template <std::size_t N> int index_in(const std::array<MainControl, N>& controls, int control_id) {
    const auto found = std::ranges::find(controls, control_of_id<MainControl>(control_id));
    return found == controls.end() ? -1 : static_cast<int>(found - controls.begin());
}

} // namespace

int report_rate_of(int control_id) {
    return index_in(kReportRateButtons, control_id);
}

int profile_of(int control_id) {
    return index_in(kProfileButtons, control_id);
}

bool read_flip(const SettingsStore& store) {
    const std::string text = store.value(SettingsStore::kFlipKey).value_or("0");
    long value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value != 0;
}

FileWriteResult toggle_flip(SettingsStore& store) {
    return store.set_value(SettingsStore::kFlipKey, read_flip(store) ? "0" : "1");
}

FlipLook flip_look(bool flip) {
    if (flip) {
        return {false, true, skin_keys::main_window::kLeftArrowUp,
                skin_keys::main_window::kRightArrowUp};
    }
    return {true, false, skin_keys::main_window::kLeftArrowDown,
            skin_keys::main_window::kRightArrowDown};
}

} // namespace tarvenor
