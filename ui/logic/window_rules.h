#pragma once

#include "model/text_table.h"

namespace tarvenor {

// Tray icons: no keyboard, keyboard connected, keyboard indicator on.
inline constexpr int kIconNoKeyboard = 128;
inline constexpr int kIconConnected = 141;
inline constexpr int kIconIndicator = 142;

// What a request to open the window (tray "Open", a second start, the first keyboard) does.
// Without a keyboard, the message says why when one is plugged in but this user may not open it.
enum class OpenDecision { Show, NoDeviceMessage, NoAccessMessage };
OpenDecision decide_open(int connected_count, bool keyboard_unreachable = false);

// The tray tooltip: the program's own, or that a plugged-in keyboard cannot be opened.
TextKey tray_tooltip(int connected_count, bool keyboard_unreachable);

// How the window gets out of the way (system close, Cancel, OK, keyboard gone). Without a
// notification area a hidden window could never be reached again, so it is minimised instead.
enum class HideAction { Hide, Minimise };
HideAction hide_action(bool tray_available);

// Whether the window shows itself at start: only when there is no notification area to find the
// program in.
bool show_at_start(bool tray_available);

// Whether the window shows its no-keyboard look: greyed controls and a line saying what to do.
// Only a window on screen shows it, and not while an arrival is being read.
bool shows_no_keyboard(bool visible, int connected_count, bool arriving);

// The controls that stay live in the no-keyboard look: the window's own caption buttons, OK and
// Cancel, and Apply, whose state says whether changes wait for the keyboard.
bool works_without_keyboard(int control_id);

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
