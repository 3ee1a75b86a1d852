#!/bin/bash
# Starts the real program under Xvfb with the virtual keyboard and drives it from outside with
# real X events, as a user would. Usage: program_e2e.sh PROGRAM_FOLDER
set -u
BIN=$(cd "$1" && pwd)
. "$(dirname "$0")/e2e_lib.sh"

echo "== start-up failures: one line naming what is missing, non-zero exit"
e2e_fresh_user failures
out=$(TARVENOR_HIDSERV=/nonexistent/libHidServ.so QT_QPA_PLATFORM=offscreen "$BIN/tarvenor" 2>&1)
status=$?
[ "$status" -ne 0 ] || e2e_fail "missing service library: exit 0"
[ "$(echo "$out" | wc -l)" -eq 1 ] && echo "$out" | grep -q nonexistent ||
    e2e_fail "missing service library: '$out'"
broken="$e2e_work/broken"
mkdir -p "$broken" && cp -r "$BIN/tarvenor" "$BIN/Skins" "$broken/" && rm "$broken/Skins/main_over.jpg"
out=$(QT_QPA_PLATFORM=offscreen "$broken/tarvenor" 2>&1)
status=$?
[ "$status" -ne 0 ] || e2e_fail "missing skin picture: exit 0"
[ "$(echo "$out" | wc -l)" -eq 1 ] && echo "$out" | grep -q main_over.jpg ||
    e2e_fail "missing skin picture: '$out'"

echo "== with a notification area"
e2e_display tray
e2e_fresh_user keyboard

echo "-- start with a keyboard: the window opens"
e2e_start first
first=$e2e_pid
e2e_wait 10 e2e_window_shown "$first" || e2e_fail "window not shown"

echo "-- Escape and Enter do not close it"
window=$(e2e_main_window "$first")
xdotool windowfocus --sync "$window" key Escape key Return
sleep 0.5
e2e_window_shown "$first" || e2e_fail "Escape or Enter hid the window"

echo "-- unplugging hides it"
simctl unplug
e2e_wait 5 e2e_window_hidden "$first" || e2e_fail "window still shown after unplug"

echo "-- plugging in again does not show it"
simctl plug
sleep 1.5
e2e_window_hidden "$first" || e2e_fail "window shown by a later keyboard"

echo "-- a second start hands over: the window opens, the second process ends with 0"
"$BIN/tarvenor" >"$e2e_work/second.log" 2>&1 || e2e_fail "second start exit $?"
e2e_wait 5 e2e_window_shown "$first" || e2e_fail "second start did not open the window"
e2e_exited "$first" && e2e_fail "first instance ended"

echo "-- the close button ends the program"
eval "$(xdotool getwindowgeometry --shell "$(e2e_main_window "$first")")"
close=$(grep -i '^CONTROL_CLOSE=' "$BIN/Skins/Main.ini" | cut -d= -f2)
cx=$((X + $(echo "$close" | cut -d, -f1) + $(echo "$close" | cut -d, -f3) / 2))
cy=$((Y + $(echo "$close" | cut -d, -f2) + $(echo "$close" | cut -d, -f4) / 2))
xdotool mousemove --sync "$cx" "$cy" click 1
e2e_wait 5 e2e_exited "$first" || e2e_fail "close button did not end the program"
wait "$first" || e2e_fail "program exit code $?"
e2e_nothing_left

echo "-- /Kill ends the running instance and leaves nothing behind"
e2e_start kill-target /start
target=$e2e_pid
e2e_wait 10 test -S "$XDG_RUNTIME_DIR/Brennic RGB" || e2e_fail "no instance socket"
sleep 1
e2e_window_hidden "$target" || e2e_fail "/start showed the window"
"$BIN/tarvenor" /KILL || e2e_fail "/KILL exit $?"
e2e_wait 5 e2e_exited "$target" || e2e_fail "/KILL did not end the instance"
wait "$target" || e2e_fail "killed instance exit code $?"
e2e_nothing_left

echo "-- start without a keyboard: nothing shown, plugging in later shows nothing"
e2e_fresh_user unplugged
export TARVENOR_SIM_UNPLUGGED=1
e2e_start unplugged
quiet=$e2e_pid
e2e_wait 10 test -S "$XDG_RUNTIME_DIR/Brennic RGB" || e2e_fail "no instance socket"
sleep 1
e2e_window_hidden "$quiet" || e2e_fail "window shown without a keyboard"
# The virtual keyboard listens once the program has loaded it, which a busy machine delays.
e2e_wait 10 test -S "$TARVENOR_SIM_DIR/control.sock" || e2e_fail "the virtual keyboard never listened"
simctl plug
sleep 1.5
e2e_window_hidden "$quiet" || e2e_fail "window shown when the keyboard came"
"$BIN/tarvenor" --kill || e2e_fail "--kill exit $?"
e2e_wait 5 e2e_exited "$quiet" || e2e_fail "--kill did not end the instance"
e2e_nothing_left

echo "-- a second start during a slow arrival is handed over at once"
e2e_fresh_user slow
export TARVENOR_SIM_LATENCY_MS=150
e2e_start slow
slow=$e2e_pid
e2e_wait 10 test -S "$XDG_RUNTIME_DIR/Brennic RGB" || e2e_fail "no instance socket"
before=$(e2e_now)
"$BIN/tarvenor" || e2e_fail "second start exit $?"
took=$(($(e2e_now) - before))
echo "   handed over in $took ms"
[ "$took" -lt 1000 ] || e2e_fail "hand-over took $took ms"
"$BIN/tarvenor" /kill
e2e_wait 5 e2e_exited "$slow" || e2e_fail "/kill did not end the slow instance"

echo "== without a notification area"
e2e_display
e2e_fresh_user no-tray
export TARVENOR_SIM_UNPLUGGED=1
e2e_start no-tray
lonely=$e2e_pid
e2e_wait 10 e2e_window_shown "$lonely" || e2e_fail "window not shown without a tray"
grep -q "no notification area" "$e2e_work/no-tray.log" || e2e_fail "no word on standard error"

echo "-- a tray arriving later takes the icon; the window then hides to it"
trayer --edge bottom --align right --width 10 --height 32 >/dev/null 2>&1 &
tray=$!
e2e_pids="$e2e_pids $tray"
e2e_wait 10 grep -q "the icon is back" "$e2e_work/no-tray.log" ||
    e2e_fail "the tray's arrival went unnoticed"
e2e_click_control "$(e2e_main_window "$lonely")" Main.ini CONTROL_CANCEL
e2e_wait 5 e2e_window_hidden "$lonely" || e2e_fail "Cancel did not hide the window to the tray"

echo "-- the tray goes: the window shows again and the program goes on"
kill "$tray"
e2e_wait 10 e2e_window_shown "$lonely" || e2e_fail "the window stayed hidden when the tray went"
[ "$(grep -c "no notification area" "$e2e_work/no-tray.log")" -eq 2 ] ||
    e2e_fail "the tray's going was not told once"
e2e_exited "$lonely" && e2e_fail "the program ended with the tray"
"$BIN/tarvenor" /kill
e2e_wait 5 e2e_exited "$lonely" || e2e_fail "/kill did not end the instance"
e2e_nothing_left
echo "all passed"
