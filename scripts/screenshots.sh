#!/bin/bash
# Regenerates the README's screenshots: the real program on the virtual keyboard on a display of
# its own (Xvfb, with a notification area), each window opened with real X events from xdotool,
# and the skin gallery. Builds first when the build is missing.
# Usage: scripts/screenshots.sh [FOLDER]   (default: docs; the pictures replace those there)
#        scripts/screenshots.sh --scales [FOLDER]   the main window and the assignment dialog at
#        100, 125, 150 and 200 % (QT_SCALE_FACTOR) in both languages (default: build/scales)
set -u
cd "$(dirname "$0")/.." || exit 1
root=$PWD
scales=""
if [ "${1:-}" = --scales ]; then
    scales=1
    shift
    out=${1:-build/scales}
else
    out=${1:-docs}
fi
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

e2e_display tray large

# A program folder whose language file chooses LANGUAGE (1 English, 0 Chinese): the program and
# its skin copied (it finds its folder through its own file), everything else linked.
program_folder() {
    local folder="$e2e_work/program-$1"
    mkdir -p "$folder"
    for item in "$root"/build/bin/*; do
        case ${item##*/} in
        tarvenor | Skins) cp -r "$item" "$folder/" ;;
        *) ln -sf "$item" "$folder/" ;;
        esac
    done
    sed -i "s/^language=.*/language=$1/" "$folder/Skins/language.ini"
    echo "$folder"
}

# A dialog of the program that was not there before: waits for it, its window id in $dialog.
wait_dialog() {
    e2e_wait 5 dialog_of_program || e2e_fail "no $1"
    dialog=$(e2e_newest_window "$program" "$main")
    sleep 0.5
}

# Clicks CONTROL of WINDOW (skin file INI) and sets $dialog to the window that opens, a window of
# its own beside those already there.
open_by_click() {
    local before
    before=$(e2e_windows "$program")
    e2e_click_control "$1" "$2" "$3"
    e2e_wait 5 e2e_new_window "$program" "$before" >/dev/null || e2e_fail "no $4"
    dialog=$(e2e_new_window "$program" "$before")
    sleep 0.5
}

close_dialog() {
    xdotool windowclose "$dialog" 2>/dev/null || true
    e2e_wait 5 test -z "$(e2e_newest_window "$program" "$main")" || e2e_fail "a dialog stays open"
}

# Every window of the program in one language; the pictures end in SUFFIX.
shoot_language() {
    local suffix=$2
    BIN=$(program_folder "$1")

    echo "== main window, About, a question and the profile manager$suffix"
    start_program "main$suffix"
    e2e_screenshot "$shots/main-window$suffix.png" "$main"
    e2e_click_control "$main" Main.ini CONTROL_MENU
    sleep 0.5
    xdotool key Up Return # the menu's last item: About
    wait_dialog "About box"
    e2e_screenshot "$shots/about$suffix.png" "$dialog"
    close_dialog
    # Restore defaults asks first; the question may be narrower than any dialog.
    open_by_click "$main" Main.ini FUNC_DEFAULT question
    e2e_screenshot "$shots/message-box$suffix.png" "$dialog"
    xdotool key Escape
    e2e_click_control "$main" Main.ini FUNC_PROFILES
    wait_dialog "profile manager"
    e2e_screenshot "$shots/profile-manager$suffix.png" "$dialog"
    e2e_click_control "$dialog" Profile.ini CONTROL_CANCEL

    echo "== the rules page and its Add$suffix"
    for rule in "steam_app_1091500 2" "Cyberpunk2077.exe 2" "code 3" "firefox 1"; do
        # shellcheck disable=SC2086 # "APPLICATION PROFILE"
        "$BIN/tarvenor-cli" rules add $rule >/dev/null || e2e_fail "rules add $rule"
    done
    "$BIN/tarvenor-cli" rules default 1 >/dev/null || e2e_fail "rules default"
    e2e_click_control "$main" Main.ini CONTROL_MENU
    sleep 0.5
    xdotool key Up Up Return # the item before About: profiles by application
    wait_dialog "rules page"
    local page=$dialog
    e2e_screenshot "$shots/profile-rules$suffix.png" "$page"
    open_by_click "$page" Rules.ini FUNC_ADD "Add dialog"
    e2e_screenshot "$shots/rule-add$suffix.png" "$dialog"
    e2e_click_control "$dialog" RuleAdd.ini CONTROL_CANCEL
    e2e_click_control "$page" Rules.ini CONTROL_CANCEL
    stop_program

    echo "== the per-key effect with the FPS preset and a painted Esc key, Flip, an error note$suffix"
    start_program "lighting$suffix"
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
    e2e_screenshot "$shots/lighting-per-key$suffix.png" "$main"
    e2e_click_control "$main" Main.ini FLIP_2
    sleep 0.5
    e2e_screenshot "$shots/flip$suffix.png" "$main"
    e2e_click_control "$main" Main.ini FLIP_2
    # The keyboard refuses the next writes: the panel says its change did not reach it.
    "$BIN/tarvenor-simctl" fault status-ff 8 >/dev/null || e2e_fail "no fault plan"
    wheel_on CONTROL_XGcombox 1 4
    sleep 1
    e2e_screenshot "$shots/error-note$suffix.png" "$main"
    "$BIN/tarvenor-simctl" fault none >/dev/null
    stop_program

    echo "== the assignment dialog on each page, recording a macro$suffix"
    start_program "assign$suffix"
    e2e_click_control "$main" Main.ini KEY_010 # Q
    wait_dialog "assignment dialog"
    e2e_screenshot "$shots/assign-key$suffix.png" "$dialog"
    e2e_click_control "$dialog" Composite.ini CONTROL_MEDIA
    e2e_screenshot "$shots/assign-media$suffix.png" "$dialog"
    e2e_click_control "$dialog" Composite.ini CONTROL_FUNCTION
    e2e_screenshot "$shots/assign-function$suffix.png" "$dialog"
    e2e_click_control "$dialog" Composite.ini CONTROL_MACRO
    e2e_click_control "$dialog" Composite.ini FUNC_MACRO_ADD
    e2e_click_control "$dialog" Composite.ini FUNC_MACRO_RECORD
    xdotool key --delay 80 g l Return
    sleep 0.5
    e2e_screenshot "$shots/assign-macro$suffix.png" "$dialog"
    e2e_click_control "$dialog" Composite.ini FUNC_MACRO_RECORD # stop
    e2e_click_control "$dialog" Composite.ini CONTROL_CANCEL
    stop_program
}

# The main window and the assignment dialog at SCALE (1, 1.25, ...) in one language; the
# pictures end in "-PERCENT" and SUFFIX.
shoot_scale() {
    local suffix percent
    percent=$(awk -v s="$2" 'BEGIN { printf "%d", s * 100 + 0.5 }')
    suffix="-$percent$3"
    BIN=$(program_folder "$1")
    echo "== the main window and the assignment dialog at $percent %$3"
    export QT_SCALE_FACTOR=$2
    start_program "scale$suffix"
    e2e_click_control "$main" Main.ini CONTROL_DengStaPic # the lighting panel's controls
    e2e_wait 5 memory_byte_is settings.bin 0 01 || e2e_fail "no factory lighting"
    sleep 0.5
    e2e_screenshot "$shots/main-window$suffix.png" "$main"
    # With the light on a click paints a key: off again, so that it opens the dialog.
    e2e_click_control "$main" Main.ini CONTROL_DengStaPic
    sleep 0.5
    e2e_click_control "$main" Main.ini KEY_010 # Q
    wait_dialog "assignment dialog"
    e2e_screenshot "$shots/assign-key$suffix.png" "$dialog"
    e2e_click_control "$dialog" Composite.ini CONTROL_CANCEL
    stop_program
    unset QT_SCALE_FACTOR
}

if [ -n "$scales" ]; then
    for scale in 1 1.25 1.5 2; do
        shoot_scale 1 "$scale" ""
        shoot_scale 0 "$scale" "-zh"
    done
    mv "$shots"/*.png "$out"/
    echo "Screenshots written to $out"
    exit 0
fi

shoot_language 1 ""
shoot_language 0 "-zh"

shoot_scale 1 2 ""

echo "== skin-gallery.png: the main window's skin with a few keys hovered, pressed and assigned"
"$root/build/ui/gallery/skin-gallery" "$root/build/bin/Skins" --screenshot "$shots/skin-gallery.png" ||
    e2e_fail "the skin gallery saved no picture"

mv "$shots"/*.png "$out"/
echo "Screenshots written to $out"
