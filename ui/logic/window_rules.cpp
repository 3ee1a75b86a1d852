#include "ui/logic/window_rules.h"

#include "ui/logic/control_ids.h"

#include <algorithm>
#include <array>

namespace tarvenor {

OpenDecision decide_open(int connected_count, bool keyboard_unreachable) {
    if (connected_count > 0) {
        return OpenDecision::Show;
    }
    return keyboard_unreachable ? OpenDecision::NoAccessMessage : OpenDecision::NoDeviceMessage;
}

TextKey tray_tooltip(int connected_count, bool keyboard_unreachable) {
    return connected_count <= 0 && keyboard_unreachable ? TextKey::KeyboardTrayNoAccess
                                                        : TextKey::KeyboardTrayDesc;
}

HideAction hide_action(bool tray_available) {
    return tray_available ? HideAction::Hide : HideAction::Minimise;
}

bool show_at_start(bool tray_available) {
    return !tray_available;
}

bool shows_no_keyboard(bool visible, int connected_count, bool arriving) {
    return visible && connected_count <= 0 && !arriving;
}

bool works_without_keyboard(int control_id) {
    constexpr std::array kLive{MainControl::Ok,       MainControl::Cancel, MainControl::Apply,
                               MainControl::SkinLink, MainControl::Help,   MainControl::Minimise,
                               MainControl::Close,    MainControl::Menu,   MainControl::VendorLink};
    return std::ranges::find(kLive, control_of_id<MainControl>(control_id)) != kLive.end();
}

bool TrayIconState::set_connected(bool connected) {
    const int before = shown();
    connection_icon_ = connected ? kIconConnected : kIconNoKeyboard;
    return shown() != before;
}

bool TrayIconState::set_indicator(bool on) {
    const int before = shown();
    indicator_ = on;
    return shown() != before;
}

} // namespace tarvenor
