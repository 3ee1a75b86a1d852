#!/bin/bash
# Profiles that follow the application in front, on Wayland: the program on Qt's Wayland
# platform under headless sway follows the compositor's activated toplevel through the wlr
# foreign-toplevel protocol. Three windows of APP_WINDOW with app ids of their own, rules for
# two of them, the focus moved by sway; the keyboard's active profile read back from its memory.
# Usage: focus_rules_wayland_e2e.sh PROGRAM_FOLDER APP_WINDOW [SHOT_FOLDER]
set -u
. "$(dirname "$0")/wayland_lib.sh"
wayland_enter "$0" "$@"
shift
BIN=$(cd "$1" && pwd)
app_window=$2
. "$(dirname "$0")/e2e_lib.sh"

# The app id of the window sway has focused.
in_front() {
    swaymsg -t get_tree | jq -r '.. | objects | select(.focused? == true) | .app_id // empty'
}

app_in_front() {
    [ "$(in_front)" = "$1" ]
}

something_in_front() {
    [ -n "$(in_front)" ]
}

window_of_app() {
    swaymsg -t get_tree | jq -e --arg id "$1" '.. | objects | select(.app_id? == $id)'
}

start_client() {
    QT_QPA_PLATFORM=wayland "$app_window" "$1" >"$e2e_work/$1.log" 2>&1 &
    e2e_pids="$e2e_pids $!"
    e2e_wait 10 window_of_app "$1" || e2e_fail "no window for $1"
}

focus() {
    swaymsg "[app_id=\"^$1\$\"] focus" >/dev/null || e2e_fail "sway cannot focus $1"
}

unset DISPLAY
e2e_fresh_user focus-wayland
export TARVENOR_SIM_TRAFFIC="$e2e_work/traffic"
wayland_start_sway
e2e_wait 15 host_registered || e2e_fail "swaybar registered no tray host"

echo "-- doctor finds the compositor's foreign-toplevel manager"
doctor=$(QT_QPA_PLATFORM=wayland "$BIN/tarvenor-cli" doctor --json |
    jq -r '.checks[] | select(.check == "profiles by application") | "\(.status)|\(.detail)"')
case $doctor in
"OK|the compositor on $WAYLAND_DISPLAY announces the activated window"*) ;;
*) e2e_fail "doctor's profiles by application: $doctor" ;;
esac

echo "-- rules made with the command line"
"$BIN/tarvenor-cli" rules add alpha 2 || e2e_fail "rules add alpha"
# A Windows game's app id under Wine is its .exe name.
"$BIN/tarvenor-cli" rules add Beta.exe 3 || e2e_fail "rules add Beta.exe"
"$BIN/tarvenor-cli" rules default 1 || e2e_fail "rules default"

start_client alpha
start_client beta.exe
start_client gamma
focus gamma

QT_QPA_PLATFORM=wayland e2e_start focus-wayland /Start
program=$e2e_pid
e2e_wait 10 test -e "$TARVENOR_USER_DIR/Tarvenor_R4X/\$Profile0" || e2e_fail "keyboard not read"

e2e_rules_followed

echo "-- a window that closes leaves the front to the one sway focuses next"
swaymsg "[app_id=\"^beta.exe\$\"] kill" >/dev/null || e2e_fail "sway cannot close beta.exe"
e2e_wait 5 something_in_front || e2e_fail "nothing focused after beta.exe closed"
next=$(in_front)
case $next in
alpha) expected=2 ;;
*) expected=1 ;;
esac
e2e_wait 8 active_profile_is "$expected" ||
    e2e_fail "after beta.exe closed ($next in front): profile $(active_profile)"

echo "-- the program's own window does not count as an application"
focus alpha
e2e_wait 8 active_profile_is 2 || e2e_fail "alpha: profile $(active_profile)"
# Counted as an unknown application, it would get the default, profile 1.
QT_QPA_PLATFORM=wayland "$BIN/tarvenor" # a second start opens the window
e2e_wait 10 app_in_front tarvenor || e2e_fail "the window did not come to the front"
sleep 4 # past the rest and the minimum interval
active_profile_is 2 || e2e_fail "the program's own window switched to $(active_profile)"

e2e_idle "$program"

QT_QPA_PLATFORM=wayland "$BIN/tarvenor" /Kill
e2e_wait 10 e2e_exited "$program" || e2e_fail "program did not end"
echo "PASS"
