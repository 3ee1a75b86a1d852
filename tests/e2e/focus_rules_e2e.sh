#!/bin/bash
# Profiles that follow the application in front, on X11 under a real window manager: rules for
# two small X clients, focus moved between them with real activation requests, the keyboard's
# active profile read back from its memory.
# Usage: focus_rules_e2e.sh PROGRAM_FOLDER [SCREENSHOT]
set -u
BIN=$(cd "$1" && pwd)
SHOT=${2:-}
. "$(dirname "$0")/e2e_lib.sh"

# The window of each X client, by its WM_CLASS instance.
declare -A window_of

start_client() {
    local name=$1
    xmessage -name "$name" "$name" >/dev/null 2>&1 &
    e2e_pids="$e2e_pids $!"
    e2e_wait 10 xdotool search --classname "^$name\$" || e2e_fail "no window for $name"
    window_of[$name]=$(xdotool search --classname "^$name\$" | head -1)
}

in_front() {
    xprop -id "$(xdotool getactivewindow)" WM_CLASS
}

focus() {
    xdotool windowactivate --sync "${window_of[$1]}"
}

# No window of the program's beyond those in $windows.
no_new_window() {
    ! e2e_new_window "$program" "$windows"
}

e2e_display tray
e2e_fresh_user focus
export TARVENOR_SIM_TRAFFIC="$e2e_work/traffic"
openbox --sm-disable >/dev/null 2>&1 &
e2e_pids="$e2e_pids $!"
e2e_wait 10 sh -c 'xprop -root _NET_SUPPORTED | grep -q _NET_ACTIVE_WINDOW' ||
    e2e_fail "openbox does not announce the active window"

echo "-- rules made with the command line"
"$BIN/tarvenor-cli" rules add alpha 2 || e2e_fail "rules add alpha"
"$BIN/tarvenor-cli" rules add Beta.exe 3 || e2e_fail "rules add Beta.exe"
"$BIN/tarvenor-cli" rules default 1 || e2e_fail "rules default"
"$BIN/tarvenor-cli" doctor --json | grep -q '"detail": "the window manager on .* announces' ||
    e2e_fail "doctor does not see the active window announced"

start_client alpha
# A Wine game's class is its .exe name.
start_client beta.exe
start_client gamma
focus gamma

e2e_start focus /Start
program=$e2e_pid
e2e_wait 10 test -e "$TARVENOR_USER_DIR/Tarvenor_R4X/\$Profile0" || e2e_fail "keyboard not read"

e2e_rules_followed

echo "-- a profile chosen with the keyboard's own switch is not fought while the focus stays"
"$BIN/tarvenor-cli" profile 1 || e2e_fail "profile 1"
sleep 5
active_profile_is 1 || e2e_fail "switched back without a focus change: $(active_profile)"
focus alpha
e2e_wait 8 active_profile_is 2 || profile_not_followed "alpha again"

echo "-- a damaged rules file changes nothing"
rules="$XDG_CONFIG_HOME/Tarvenor_Ostrel/profile-rules.ini"
cp "$rules" "$e2e_work/good-rules"
windows=$(e2e_windows "$program")
printf '[rules]\nalpha = 7\n' >"$e2e_work/bad-rules"
mv "$e2e_work/bad-rules" "$rules"
e2e_wait 5 grep -q "profile-rules.ini: line 2" "$e2e_log" || e2e_fail "damaged file not told"
e2e_wait 5 e2e_new_window "$program" "$windows" || e2e_fail "no message about the damaged file"
message=$(e2e_new_window "$program" "$windows")
e2e_screenshot "${SHOT:+${SHOT%.png}-damaged.png}" "$message"
xdotool windowactivate --sync "$message"
sleep 0.3
xdotool key Return
e2e_wait 5 no_new_window || e2e_fail "the message did not close"
focus gamma
e2e_wait 8 active_profile_is 1 ||
    e2e_fail "old rules not kept: profile $(active_profile), in front: $(in_front); $(tail -5 "$e2e_log")"

if "$BIN/tarvenor-cli" rules add gamma 3 2>/dev/null; then
    e2e_fail "the command line changed a damaged rules file"
fi

echo "-- a rules file changed while the program runs is read again"
cp "$e2e_work/good-rules" "$rules"
"$BIN/tarvenor-cli" rules add gamma 3 || e2e_fail "rules add gamma"
e2e_wait 8 active_profile_is 3 || e2e_fail "new rule for gamma: profile $(active_profile)"

echo "-- the rules page holds switches back while it is open"
focus gamma
e2e_wait 8 active_profile_is 3 || e2e_fail "gamma before the page: profile $(active_profile)"
"$BIN/tarvenor" # a second start opens the window
e2e_wait 10 e2e_window_shown "$program" || e2e_fail "window not shown"
main=$(e2e_main_window "$program")
windows=$(e2e_windows "$program")
e2e_click_control "$main" Main.ini CONTROL_MENU
e2e_wait 5 e2e_new_window "$program" "$windows" || e2e_fail "no file menu"
# The file menu's item before the last (About).
sleep 0.5
xdotool key Up Up Return
e2e_wait 5 test "$(e2e_newest_window "$program" "$main")" || e2e_fail "no rules page"
page=$(e2e_newest_window "$program" "$main")
e2e_screenshot "$SHOT" "$page"
focus alpha
sleep 3
active_profile_is 3 || e2e_fail "switched while the rules page was open"
e2e_click_control "$page" Rules.ini CONTROL_CANCEL
e2e_wait 8 active_profile_is 2 || e2e_fail "no switch after the page closed: $(active_profile)"

e2e_idle "$program"

"$BIN/tarvenor" /Kill
e2e_wait 10 e2e_exited "$program" || e2e_fail "program did not end"
echo "PASS"
