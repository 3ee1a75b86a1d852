#include "ui/logic/window_rules.h"

namespace tarvenor {

OpenDecision decide_open(int connected_count) {
    return connected_count > 0 ? OpenDecision::Show : OpenDecision::NoDeviceMessage;
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
