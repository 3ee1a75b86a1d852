#!/bin/bash
# The main window of the real program under Xvfb, driven with real X events: the ≡ button's menu
# opens About; the close button with unapplied changes asks, Cancel keeps the program and the
# changes, Discard ends it and the keyboard keeps what it held; without a notification area and
# without a keyboard the window shows its keys greyed at once.
# Usage: window_e2e.sh PROGRAM_FOLDER [SCREENSHOT_FOLDER]
set -u
BIN=$(cd "$1" && pwd)
SHOTS=${2:-}
. "$(dirname "$0")/e2e_lib.sh"

shot() {
    [ -z "$SHOTS" ] || e2e_screenshot "$SHOTS/$1" "$2"
}

e2e_display tray
e2e_fresh_user window
e2e_start_shown window
program=$e2e_pid
main=$e2e_window
e2e_wait 10 test -e "$TARVENOR_USER_DIR/Tarvenor_R4X/\$Profile0" || e2e_fail "no mirror"

echo "-- the ≡ button's menu: its last item opens About"
windows=$(e2e_windows "$program")
e2e_click_control "$main" Main.ini CONTROL_MENU
e2e_wait 5 e2e_new_window "$program" "$windows" || e2e_fail "no window menu"
menu=$(e2e_new_window "$program" "$windows")
eval "$(xdotool getwindowgeometry --shell "$menu")"
# Import, Export, About: the middle of the last third.
xdotool mousemove --sync --window "$menu" 40 $((HEIGHT * 5 / 6)) click 1
e2e_wait 5 test "$(e2e_newest_window "$program" "$main")" || e2e_fail "no About box"
about=$(e2e_newest_window "$program" "$main")
shot about.png "$about"
xdotool windowfocus --sync "$about" key Escape
e2e_wait 5 test -z "$(e2e_newest_window "$program" "$main")" || e2e_fail "About box stays"

echo "-- A given B and not applied"
a=$(position_of "02 02 04")
held=$(memory_hex profiles.bin $((a * 3)) 3)
open_dialog_for KEY_01E
xdotool key b
e2e_click_control "$dialog" Composite.ini CONTROL_OK
e2e_wait 5 dialog_closed || e2e_fail "dialog not closed by OK"

# Clicks the close button and waits for the question; its window id in $question.
close_and_wait_for_question() {
    local before
    before=$(e2e_windows "$program")
    e2e_click_control "$main" Main.ini CONTROL_CLOSE
    e2e_wait 5 e2e_new_window "$program" "$before" || e2e_fail "no question on close"
    question=$(e2e_new_window "$program" "$before")
}

question_gone() {
    [ -z "$(e2e_windows "$program" | grep "^$question\$")" ]
}

echo "-- the close button asks; Cancel keeps the program running"
close_and_wait_for_question
shot exit-question.png "$question"
e2e_exited "$program" && e2e_fail "ended under the question"
xdotool windowfocus --sync "$question" key Escape
e2e_wait 5 question_gone || e2e_fail "Cancel left the question"
sleep 0.5
e2e_exited "$program" && e2e_fail "Cancel ended the program"
memory_hex_is profiles.bin $((a * 3)) 3 "$held" || e2e_fail "Cancel wrote to the keyboard"

echo "-- the changes were kept: closing asks again; Discard ends the program"
close_and_wait_for_question
xdotool windowfocus --sync "$question" key alt+d
e2e_wait 5 e2e_exited "$program" || e2e_fail "Discard did not end the program"
wait "$program" || e2e_fail "program exit code $?"
memory_hex_is profiles.bin $((a * 3)) 3 "$held" ||
    e2e_fail "Discard wrote to the keyboard: A holds $(memory_hex profiles.bin $((a * 3)) 3)"
e2e_nothing_left

echo "-- no notification area, no keyboard: the keys are greyed at once"
e2e_display
e2e_fresh_user lonely
export TARVENOR_SIM_UNPLUGGED=1
e2e_start_shown lonely
program=$e2e_pid
main=$e2e_window
sleep 1
shot no-keyboard.png "$main"
e2e_click_control "$main" Main.ini KEY_01E
sleep 1
[ -z "$(e2e_newest_window "$program" "$main")" ] || e2e_fail "a greyed key opened its dialog"
e2e_wait 10 test -S "$TARVENOR_SIM_DIR/control.sock" || e2e_fail "the virtual keyboard never listened"
"$BIN/tarvenor-simctl" plug >/dev/null || e2e_fail "tarvenor-simctl plug"
e2e_wait 10 test -e "$TARVENOR_USER_DIR/Tarvenor_R4X/\$Profile0" || e2e_fail "no mirror"
sleep 0.5
open_dialog_for KEY_01E
"$BIN/tarvenor" /kill
e2e_wait 5 e2e_exited "$program" || e2e_fail "/kill did not end the program"
e2e_nothing_left
echo "all passed"
