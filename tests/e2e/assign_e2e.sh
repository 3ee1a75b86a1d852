#!/bin/bash
# The assignment dialog of the real program under Xvfb, driven with real X events: a key given
# another key, the Key page leaving another program its keys, a recorded macro given to a key, and
# keystrokes kept from the dialog's own controls while recording. Checks the virtual keyboard's
# profile block and macro memory.
# Usage: assign_e2e.sh PROGRAM_FOLDER [SCREENSHOT.png]
set -u
BIN=$(cd "$1" && pwd)
SHOT=${2:-}
. "$(dirname "$0")/e2e_lib.sh"

echo "== assignment dialog"
e2e_display
e2e_fresh_user assign
e2e_start_shown assign
program=$e2e_pid
main=$e2e_window
e2e_wait 10 test -e "$TARVENOR_USER_DIR/Tarvenor_R4X/\$Profile0" || e2e_fail "no mirror"
profile=0

echo "-- A pressed as B: the keyboard's profile block sends B at A's place"
a=$(position_of "02 02 04")
open_dialog_for KEY_01E
xdotool key b
e2e_click_control "$dialog" Composite.ini CONTROL_OK
e2e_wait 5 dialog_closed || e2e_fail "dialog not closed by OK"
e2e_click_control "$main" Main.ini CONTROL2_APPLY
e2e_wait 10 memory_hex_is profiles.bin $((profile * 378 + a * 3)) 3 "02 02 05" ||
    e2e_fail "A holds $(memory_hex profiles.bin $((profile * 378 + a * 3)) 3)"

echo "-- the Key page holds no keyboard grab: a key typed in another program stays there"
open_dialog_for KEY_011
# Leaving the Key page and coming back to it must not take a grab either.
e2e_click_control "$dialog" Composite.ini CONTROL_MEDIA
e2e_click_control "$dialog" Composite.ini CONTROL_KEY
other_log="$e2e_work/other-program.log"
xev -name other-program -geometry 300x120+1250+820 -event keyboard >"$other_log" 2>&1 &
e2e_pids="$e2e_pids $!"
e2e_wait 5 xdotool search --onlyvisible --name '^other-program$' || e2e_fail "no other program"
other=$(xdotool search --onlyvisible --name '^other-program$' | head -1)
xdotool windowfocus --sync "$other"
xdotool key x
e2e_wait 5 grep -q 'KeyPress event' "$other_log" ||
    e2e_fail "the other program got no key while the Key page showed"
e2e_click_control "$dialog" Composite.ini CONTROL_CANCEL
e2e_wait 5 dialog_closed || e2e_fail "dialog not closed by Cancel"

echo "-- a macro recorded for Q reaches the macro memory; Q plays it"
q=$(position_of "02 02 14")
open_dialog_for KEY_010
e2e_click_control "$dialog" Composite.ini CONTROL_MACRO
e2e_click_control "$dialog" Composite.ini FUNC_MACRO_ADD
e2e_click_control "$dialog" Composite.ini FUNC_MACRO_RECORD
xdotool key a
xdotool key s
echo "-- while recording, space, Return and Escape are recorded, not acted on"
# Space would press the focused record button (ending the recording), Return and Escape
# would close the dialog.
xdotool key space Return Escape
xdotool search --all --onlyvisible --pid "$program" | grep -q "^$dialog\$" ||
    e2e_fail "the dialog closed while recording"
e2e_click_control "$dialog" Composite.ini FUNC_MACRO_RECORD
e2e_screenshot "$SHOT" "$dialog"
e2e_click_control "$dialog" Composite.ini CONTROL_OK
e2e_wait 5 dialog_closed || e2e_fail "dialog not closed by OK"
e2e_click_control "$main" Main.ini CONTROL2_APPLY
e2e_wait 10 memory_hex_is profiles.bin $((profile * 378 + q * 3)) 3 "05 01 00" ||
    e2e_fail "Q holds $(memory_hex profiles.bin $((profile * 378 + q * 3)) 3)"
# Magic, then one macro with its name; its record: ten actions, one cycle, name "Macro1".
memory_hex_is macros.bin 0 2 "aa 55" || e2e_fail "macro magic: $(memory_hex macros.bin 0 2)"
memory_hex_is macros.bin 4 2 "01 00" || e2e_fail "macro count: $(memory_hex macros.bin 4 2)"
record=$((0x$(memory_hex macros.bin 16 1) + 0x$(memory_hex macros.bin 17 1) * 256))
memory_hex_is macros.bin "$record" 4 "0a 00 01 06" ||
    e2e_fail "macro record: $(memory_hex macros.bin "$record" 4)"
# A down and up, S down and up, 50 ms apart (recorded delays off): the last keeps 0.
memory_hex_is macros.bin $((record + 4)) 16 "05 a0 02 04 05 20 02 04 05 a0 02 16 05 20 02 16" ||
    e2e_fail "actions: $(memory_hex macros.bin $((record + 4)) 16)"
# Space (2C), Return (28), Escape (29), each down and up; the last row's delay is 0.
memory_hex_is macros.bin $((record + 20)) 24 \
    "05 a0 02 2c 05 20 02 2c 05 a0 02 28 05 20 02 28 05 a0 02 29 00 20 02 29" ||
    e2e_fail "kept keys: $(memory_hex macros.bin $((record + 20)) 24)"
echo "assignment end-to-end: passed"
