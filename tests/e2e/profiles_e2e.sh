#!/bin/bash
# The profile controls of the real program under Xvfb, driven with real X events: profile and
# report-rate buttons, Import through the file menu and its file dialog, the profile manager.
# Usage: profiles_e2e.sh PROGRAM_FOLDER [SCREENSHOT]
set -u
BIN=$(cd "$1" && pwd)
SHOT=${2:-}
. "$(dirname "$0")/e2e_lib.sh"

# One byte of a file of the keyboard's memory, as a decimal number.
memory_byte() {
    od -An -tu1 -j "$2" -N1 "$TARVENOR_SIM_DIR/$1" | tr -d ' '
}

memory_byte_is() {
    [ "$(memory_byte "$1" "$2")" = "$3" ]
}

# A profile file made by another keyboard: profile 2 has A disabled, one macro "A down, A up".
make_import_file() {
    local source="$e2e_work/source-keyboard" file=$1
    mkdir -p "$source"
    TARVENOR_SIM_DIR=$source "$BIN/tarvenor-cli" info >/dev/null || e2e_fail "source keyboard"
    local a
    a=$(od -An -v -tx1 -w3 "$source/default_matrix.bin" | grep -n '^ 02 02 04$' | cut -d: -f1)
    [ -n "$a" ] || e2e_fail "no A in the factory matrix"
    printf '\x00\x00\x00' | dd of="$source/profiles.bin" bs=1 seek=$((378 + (a - 1) * 3)) \
        conv=notrunc status=none
    # MacroBlock: 55AA, size 30, one macro, no names; offset 18; 2 actions, 1 cycle.
    printf '\xaa\x55\x1e\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x12\x00' \
        | dd of="$source/macros.bin" conv=notrunc status=none
    printf '\x02\x00\x01\x00\x05\xa0\x02\x04\x05\x20\x02\x04' \
        | dd of="$source/macros.bin" bs=1 seek=18 conv=notrunc status=none
    TARVENOR_SIM_DIR=$source "$BIN/tarvenor-cli" pull "$file" >/dev/null || e2e_fail "pull"
    A_POSITION=$((a - 1))
}

e2e_display tray
e2e_fresh_user profiles
import_file="$e2e_work/imported.tvp"
make_import_file "$import_file"

e2e_start_shown profiles
program=$e2e_pid
main=$e2e_window
e2e_wait 10 test -e "$TARVENOR_USER_DIR/Tarvenor_R4X/\$Profile0" || e2e_fail "no mirror"

echo "-- profile 2 and report rate 3 reach the keyboard's memory"
e2e_click_control "$main" Main.ini FUNC_PROFILE2
e2e_wait 5 memory_byte_is parameters.bin 10 1 || e2e_fail "active profile $(memory_byte parameters.bin 10)"
profile1_rate=$(memory_byte settings.bin 15)
e2e_click_control "$main" Main.ini FUNC_REPORT4
e2e_wait 5 memory_byte_is settings.bin $((42 + 15)) 3 ||
    e2e_fail "report rate $(memory_byte settings.bin 57)"
memory_byte_is settings.bin 15 "$profile1_rate" || e2e_fail "report rate written to profile 1"

echo "-- Import through the file menu and its file dialog"
windows=$(e2e_windows "$program")
e2e_click_control "$main" Main.ini CONTROL_MENU
e2e_wait 5 e2e_new_window "$program" "$windows" || e2e_fail "no file menu"
# Its first item (Import) clicked: keys sent before the menu grabs the keyboard would go to the
# main window.
xdotool mousemove --sync --window "$(e2e_new_window "$program" "$windows")" 40 12 click 1
e2e_wait 5 test "$(e2e_newest_window "$program" "$main")" || e2e_fail "no file dialog"
sleep 0.5
xdotool type --delay 5 "$import_file"
xdotool key Return
e2e_wait 10 memory_byte_is macros.bin 4 1 || e2e_fail "macro memory holds no macro"
memory_byte_is macros.bin 0 170 && memory_byte_is macros.bin 1 85 || e2e_fail "no macro block"
for offset in 0 1 2; do
    memory_byte_is profiles.bin $((378 + A_POSITION * 3 + offset)) 0 ||
        e2e_fail "profile 2 still sends A"
    memory_byte_is profiles.bin $((A_POSITION * 3 + offset)) \
        "$(memory_byte default_matrix.bin $((A_POSITION * 3 + offset)))" ||
        e2e_fail "profile 1 changed"
done
ls "$TARVENOR_USER_DIR/Tarvenor_R4X/Keyboard copy "*.tvp >/dev/null 2>&1 ||
    e2e_fail "no copy of the keyboard kept"

echo "-- the profile manager shows three rows; OK stores them"
e2e_click_control "$main" Main.ini FUNC_PROFILES
e2e_wait 5 test "$(e2e_newest_window "$program" "$main")" || e2e_fail "no profile manager"
manager=$(e2e_newest_window "$program" "$main")
sleep 0.5

echo "-- double-clicking a name leaves its row readable"
list=$(grep -i "^PROGRAM_LIST=" "$BIN/Skins/Profile.ini" | cut -d= -f2 | tr -d '\r')
eval "$(xdotool getwindowgeometry --shell "$manager")"
list_x=$((X + $(echo "$list" | cut -d, -f1)))
list_y=$((Y + $(echo "$list" | cut -d, -f2)))
# The second row's name cell: below the header, right of the check column (60 pixels wide).
xdotool mousemove --sync $((list_x + 100)) $((list_y + 45)) click --repeat 2 --delay 80 1
sleep 0.3
xdotool type --delay 20 xyz
sleep 0.3
xdotool mousemove 0 0
sleep 0.3
# Text in the cell spreads its grey levels; a blanked cell is one flat colour.
spread=$(import -window root -crop "100x12+$((list_x + 66))+$((list_y + 39))" +repage \
    -colorspace gray -format '%[fx:int(1000*standard_deviation)]' info:)
[ "$spread" -ge 50 ] || e2e_fail "the double-clicked row shows no name (spread $spread)"
e2e_screenshot "$SHOT" "$manager"
e2e_click_control "$manager" Profile.ini CONTROL_OK
settings="$XDG_CONFIG_HOME/Tarvenor_Ostrel/tarvenor.conf"
e2e_wait 5 grep -q '^PROFILE00=3' "$settings" || e2e_fail "manager rows not stored"
for row in 01 02 03; do
    grep -q "^PROFILE$row=.*Tarvenor_R4X/\\\$Profile0.tvp" "$settings" ||
        e2e_fail "row $row does not name the mirror"
done
grep -q '^PROFILE04' "$settings" && e2e_fail "a fourth row"
memory_byte_is parameters.bin 10 1 || e2e_fail "manager changed the active profile"

"$BIN/tarvenor" /kill
e2e_wait 5 e2e_exited "$program" || e2e_fail "/kill did not end the program"
echo "all passed"
