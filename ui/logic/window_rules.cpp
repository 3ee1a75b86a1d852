#include "ui/logic/window_rules.h"

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
