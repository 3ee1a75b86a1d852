#pragma once

namespace tarvenor {

// Tray icons: no keyboard, keyboard connected, keyboard indicator on.
inline constexpr int kIconNoKeyboard = 128;
inline constexpr int kIconConnected = 141;
inline constexpr int kIconIndicator = 142;

// What a request to open the window (tray "Open", a second start, the first keyboard) does.
enum class OpenDecision { Show, NoDeviceMessage };
OpenDecision decide_open(int connected_count);

// How the window gets out of the way (system close, Cancel, OK, keyboard gone). Without a
// notification area a hidden window could never be reached again, so it is minimised instead.
enum class HideAction { Hide, Minimise };
HideAction hide_action(bool tray_available);

// Whether the window shows itself at start: only when there is no notification area to find the
// program in.
bool show_at_start(bool tray_available);

// The tray icon: the connection icon remembered, the indicator icon shown over it while on.
class TrayIconState {
public:
    // Returns whether the shown icon changed.
    bool set_connected(bool connected);
    bool set_indicator(bool on);
    int shown() const { return indicator_ ? kIconIndicator : connection_icon_; }

private:
    int connection_icon_ = kIconNoKeyboard;
    bool indicator_ = false;
};

} // namespace tarvenor
