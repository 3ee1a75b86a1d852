#!/bin/bash
# Regenerates the README's screenshots: the real program on the virtual keyboard on a display of
# its own (Xvfb, with a notification area), each window opened with real X events from xdotool,
# and the skin gallery. Builds first when the build is missing.
# Usage: scripts/screenshots.sh [FOLDER]   (default: docs; the pictures replace those there)
set -u
cd "$(dirname "$0")/.." || exit 1
root=$PWD
out=${1:-docs}
mkdir -p "$out" && out=$(cd "$out" && pwd) || exit 1

scripts/install-deps.sh || exit 1
if [ -x build/bin/tarvenor ] && [ -e build/bin/libHidServSim.so ] &&
    [ -x build/ui/gallery/skin-gallery ]; then
    # Pictures of what the sources say now: bring the programs, the skin and the texts up to date.
    cmake --build build --target tarvenor HidServSim skin-gallery tarvenor_skin tarvenor_resources ||
        exit 1
else
    scripts/build.sh || exit 1
fi

BIN=$root/build/bin
. tests/e2e/e2e_lib.sh
shots="$e2e_work/shots"
mkdir -p "$shots"

# One byte of a file of the virtual keyboard's memory, as two hex digits.
memory_byte_is() {
    [ "$(od -An -tx1 -j "$2" -N 1 "$TARVENOR_SIM_DIR/$1" | tr -d ' \n')" = "$3" ]
}

# Starts the program as a new user on a new virtual keyboard and waits until its main window shows
# what the keyboard holds (the profile file mirror is written after the reads on arrival). The
# program's id in $program, its main window in $main.
start_program() {
    e2e_fresh_user "$1"
    e2e_start_shown "$1"
    program=$e2e_pid
    main=$e2e_window
    e2e_wait 10 test -e "$TARVENOR_USER_DIR/Tarvenor_R4X/\$Profile0" || e2e_fail "no mirror"
    sleep 1
}

stop_program() {
    "$BIN/tarvenor" /kill
    e2e_wait 5 e2e_exited "$program" || e2e_fail "/kill did not end the program"
}

# Turns the mouse wheel down COUNT times over a control of the main window.
wheel_on() {
    local centre pointer
    centre=$(e2e_control_centre "$main" Main.ini "$1") || exit 1
    pointer=$(xdotool getmouselocation | sed 's/^x:\([0-9]*\) y:\([0-9]*\).*/\1 \2/')
    # (--sync waits for the pointer to move: only when it is elsewhere.)
    # shellcheck disable=SC2086 # "X Y"
    [ "$pointer" = "$centre" ] || xdotool mousemove --sync $centre
    xdotool click --repeat "$2" --delay 40 "$3"
}

# The newest window of the program other than the main window (a dialog); fails while none shows.
dialog_of_program() {
    [ -n "$(e2e_newest_window "$program" "$main")" ]
}

e2e_display tray

echo "== main-window.png: the main window on the virtual keyboard"
start_program main
e2e_screenshot "$shots/main-window.png" "$main"
stop_program

echo "== lighting-per-key.png: the per-key effect with the FPS preset and a painted Esc key"
start_program lighting
e2e_wait 5 memory_byte_is settings.bin 0 01 || e2e_fail "no factory lighting"
e2e_click_control "$main" Main.ini CONTROL_DengStaPic # the light switch on
# The effect list offers 1..18 and 20: eighteen steps down from effect 1 reach 20, "Custom".
wheel_on CONTROL_XGcombox 18 5
e2e_wait 5 memory_byte_is settings.bin 0 14 || e2e_fail "the per-key effect is not on"
# The preset list shows FPS from the start: the wheel goes to MMO and back, applying each.
wheel_on CONTROL_umCombo 1 5
wheel_on CONTROL_umCombo 1 4
e2e_wait 5 memory_byte_is colours.bin $((22 * 3)) ff || e2e_fail "no FPS preset"
e2e_click_control "$main" Main.ini KEY_001 # Esc, painted in the user colour (red)
e2e_wait 5 memory_byte_is colours.bin 0 ff || e2e_fail "Esc not painted"
e2e_screenshot "$shots/lighting-per-key.png" "$main"
stop_program

echo "== assign-macro.png: recording a macro on the macro page"
start_program assign
e2e_click_control "$main" Main.ini KEY_010 # Q
e2e_wait 5 dialog_of_program || e2e_fail "no assignment dialog"
dialog=$(e2e_newest_window "$program" "$main")
e2e_click_control "$dialog" Composite.ini CONTROL_MACRO
e2e_click_control "$dialog" Composite.ini FUNC_MACRO_ADD
e2e_click_control "$dialog" Composite.ini FUNC_MACRO_RECORD
xdotool key --delay 80 g l Return
sleep 0.5
e2e_screenshot "$shots/assign-macro.png" "$dialog"
e2e_click_control "$dialog" Composite.ini FUNC_MACRO_RECORD # stop
e2e_click_control "$dialog" Composite.ini CONTROL_CANCEL
stop_program

echo "== profile-manager.png: the profile manager"
start_program profiles
e2e_click_control "$main" Main.ini FUNC_PROFILES
e2e_wait 5 dialog_of_program || e2e_fail "no profile manager"
manager=$(e2e_newest_window "$program" "$main")
sleep 0.5
e2e_screenshot "$shots/profile-manager.png" "$manager"
e2e_click_control "$manager" Profile.ini CONTROL_CANCEL
stop_program

echo "== skin-gallery.png: the main window's skin with a few keys hovered, pressed and assigned"
"$root/build/ui/gallery/skin-gallery" "$BIN/Skins" --screenshot "$shots/skin-gallery.png" ||
    e2e_fail "the skin gallery saved no picture"

mv "$shots"/*.png "$out"/
echo "Screenshots written to $out"
