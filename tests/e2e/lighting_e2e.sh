#!/bin/bash
# The lighting panel of the real program under Xvfb, driven with real X mouse and key events: the
# light switch, the brightness by wheel, click and arrow keys, the effect list, the per-key effect
# with a game preset and a painted key. Checks the virtual keyboard's memory and the per-user
# settings file.
# Usage: lighting_e2e.sh PROGRAM_FOLDER [SCREENSHOT.png [FOCUS_SCREENSHOT.png]]
set -u
BIN=$(cd "$1" && pwd)
shot=${2:-}
focus_shot=${3:-}
. "$(dirname "$0")/e2e_lib.sh"

# The centre of a control of the main skin, in screen coordinates of the window at X, Y.
centre_of() {
    local rect
    rect=$(grep -i "^$1=" "$BIN/Skins/Main.ini" | head -1 | cut -d= -f2)
    [ -n "$rect" ] || e2e_fail "no $1 in the main skin"
    IFS=, read -r cx cy cw ch <<<"$rect"
    echo "$((X + cx + cw / 2)) $((Y + cy + ch / 2))"
}

# Clicks (1) or turns the wheel down (5) over a control, COUNT times (default once).
mouse_on() {
    local target
    target=$(centre_of "$1")
    # (--sync waits for the pointer to move: only when it is elsewhere.)
    local pointer
    pointer=$(xdotool getmouselocation | sed 's/^x:\([0-9]*\) y:\([0-9]*\).*/\1 \2/')
    # shellcheck disable=SC2086
    [ "$pointer" = "$target" ] || xdotool mousemove --sync $target
    xdotool click --repeat "${3:-1}" --delay 40 "$2"
}

# One byte of a keyboard memory file as two hex digits.
memory_byte() {
    od -An -tx1 -j "$2" -N 1 "$TARVENOR_SIM_DIR/$1" | tr -d ' \n'
}

memory_byte_is() {
    [ "$(memory_byte "$1" "$2")" = "$3" ]
}

echo "== lighting panel"
e2e_display
e2e_fresh_user lighting
e2e_start_shown lighting
program=$e2e_pid
window=$e2e_window
eval "$(xdotool getwindowgeometry --shell "$window")"
e2e_wait 5 memory_byte_is settings.bin 0 01 || e2e_fail "no factory lighting"

echo "-- the light switch turns on and is kept in the settings file"
settings="$TARVENOR_USER_DIR/Tarvenor_R4X/wskb.ini"
mouse_on CONTROL_DengStaPic 1
e2e_wait 5 grep -qi '^DengCheck=1' "$settings" || e2e_fail "switch not stored: $(cat "$settings")"

echo "-- the brightness follows the wheel, a click and the arrow keys, each new position written"
e2e_wait 5 memory_byte_is settings.bin 1 04 || e2e_fail "factory brightness: $(memory_byte settings.bin 1)"
mouse_on CONTROL_LightSlider 5
e2e_wait 5 memory_byte_is settings.bin 1 03 || e2e_fail "wheel down: $(memory_byte settings.bin 1)"
mouse_on CONTROL_LightSlider 4 3 # up to the right end and past it
e2e_wait 5 memory_byte_is settings.bin 1 04 || e2e_fail "wheel up: $(memory_byte settings.bin 1)"
mouse_on CONTROL_LightSlider 1 # the middle of the slider: position 2; the slider has the focus
e2e_wait 5 memory_byte_is settings.bin 1 02 || e2e_fail "click: $(memory_byte settings.bin 1)"
xdotool key Left
e2e_wait 5 memory_byte_is settings.bin 1 01 || e2e_fail "Left: $(memory_byte settings.bin 1)"
xdotool key Left Left Right Right
e2e_wait 5 memory_byte_is settings.bin 1 02 || e2e_fail "past the left end: $(memory_byte settings.bin 1)"
echo "-- Tab moves the focus on to the speed slider, with a frame; its arrow keys write the speed"
xdotool key Tab
e2e_screenshot "$focus_shot" "$window"
memory_byte_is settings.bin 2 00 || e2e_fail "factory speed: $(memory_byte settings.bin 2)"
xdotool key Left # the knob left: one step slower
e2e_wait 5 memory_byte_is settings.bin 2 01 || e2e_fail "speed: $(memory_byte settings.bin 2)"

echo "-- the wheel over the effect list picks effect 3; the keyboard runs it"
mouse_on CONTROL_XGcombox 5 2
e2e_wait 5 memory_byte_is settings.bin 0 03 || e2e_fail "effect: $(memory_byte settings.bin 0)"
memory_byte_is settings.bin 4 01 || e2e_fail "effect 3 keeps random colour on"

echo "-- the per-key effect, the FPS preset and one painted key"
mouse_on CONTROL_XGcombox 5 16
e2e_wait 5 memory_byte_is settings.bin 0 14 || e2e_fail "effect: $(memory_byte settings.bin 0)"
# The preset list shows FPS from the start: the wheel goes to MMO and back, applying each.
mouse_on CONTROL_umCombo 5
mouse_on CONTROL_umCombo 4
# The preset writes the row black first, then its keys: wait for FPS's second write (MMO paints
# key 1 green, FPS yellow).
e2e_wait 5 memory_byte_is colours.bin $((22 * 3)) ff || e2e_fail "FPS preset not written"
memory_byte_is colours.bin $((22 * 3 + 2)) 00 || e2e_fail "key 1 is not yellow"
mouse_on KEY_001 1 # Esc, painted with the user colour (red)
e2e_wait 5 memory_byte_is colours.bin 0 ff || e2e_fail "Esc not painted"
memory_byte_is colours.bin 1 00 || e2e_fail "Esc not red"

e2e_screenshot "$shot" "$window"

echo "-- turning the switch off is kept too"
mouse_on CONTROL_DengStaPic 1
e2e_wait 5 grep -qi '^DengCheck=0' "$settings" || e2e_fail "switch off not stored"
echo "lighting end-to-end: passed"
