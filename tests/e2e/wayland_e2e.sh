#!/bin/bash
# The real program on Qt's Wayland platform under a real compositor: headless sway, with swaybar
# as the StatusNotifierItem host, in a session bus of its own, under an unprivileged user (sway
# refuses root). Its tray icon registers with the watcher; the window shows when the keyboard
# arrives; a key given another key and a recorded macro reach the virtual keyboard's memory; the
# tray host goes and comes back and the program follows without ending; /Kill ends it.
# Pointer and keys come from WAYLAND_INPUT (headless sway has no input device).
# Usage: wayland_e2e.sh PROGRAM_FOLDER WAYLAND_INPUT [SCREENSHOT_FOLDER]
set -u
. "$(dirname "$0")/wayland_lib.sh"
wayland_enter "$0" "$@"
shift
BIN=$(cd "$1" && pwd)
input=$2
SHOTS=${3:-}
. "$(dirname "$0")/e2e_lib.sh"

unset DISPLAY
e2e_fresh_user wayland
wayland_start_sway

# One pointer and one keyboard for the whole test: steps go to wayland_input line by line, each
# answered once sway has handled it.
coproc INPUT { exec "$input" "$screen_width" "$screen_height"; }
e2e_pids="$e2e_pids $INPUT_PID"
read -r -t 10 ready <&"${INPUT[0]}"
[ "${ready:-}" = ready ] || e2e_fail "wayland_input did not start"

pointer() {
    local answer
    echo "$*" >&"${INPUT[1]}"
    read -r -t 10 answer <&"${INPUT[0]}" || e2e_fail "wayland_input gave no answer to '$*'"
    [ "$answer" = ok ] || e2e_fail "wayland_input: $answer"
}

keys() {
    local name
    for name in "$@"; do
        pointer key "$name"
    done
}

# --- the tray host on the session bus

# Whether the program's icon is among the watcher's items.
icon_registered() {
    watcher_property RegisteredStatusNotifierItems 2>/dev/null | grep -q 'string "'
}

# The program's item as the watcher lists it: "SERVICE PATH" (an entry may give the service
# alone, for the usual path).
item_address() {
    local entry
    entry=$(watcher_property RegisteredStatusNotifierItems | sed -n 's/.*string "\(.*\)"/\1/p' |
        head -1)
    case $entry in
    */*) echo "${entry%%/*} /${entry#*/}" ;;
    ?*) echo "$entry /StatusNotifierItem" ;;
    esac
}

# Calls METHOD of the item (SERVICE PATH METHOD ARGUMENTS...) and prints the answer.
item_call() {
    dbus-send --session --print-reply --dest="$1" "$2" "${@:3}"
}

# The process owning the watcher: swaybar, which is the host too.
watcher_pid() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.GetConnectionUnixProcessID string:org.kde.StatusNotifierWatcher |
        sed -n 's/^ *uint32 //p'
}

e2e_wait 15 host_registered || e2e_fail "swaybar registered no tray host"

echo "-- doctor names the StatusNotifierItem host"
doctor=$("$BIN/tarvenor-cli" doctor --json |
    jq -r '.checks[] | select(.check == "notification area") | "\(.status)|\(.detail)"')
case $doctor in
"OK|the program uses a StatusNotifierItem host on the session bus"*) ;;
*) e2e_fail "doctor's notification area: $doctor" ;;
esac

# --- windows, from sway's tree: "ID X Y WIDTH HEIGHT" of each visible window of a process

sway_windows() {
    swaymsg -t get_tree | jq -r --argjson pid "$1" '.. | objects
        | select(.pid? == $pid and .visible == true)
        | "\(.id) \(.rect.x + .window_rect.x) \(.rect.y + .window_rect.y) \(.window_rect.width) \(.window_rect.height)"'
}

window_line() {
    sway_windows "$program" | grep "^$1 "
}

window_shown() {
    [ -n "$(window_line "$1")" ]
}

window_gone() {
    ! window_shown "$1"
}

# The first window of the program that is not among the ids given.
new_window() {
    local id
    for id in $(sway_windows "$program" | cut -d' ' -f1); do
        case " $* " in
        *" $id "*) ;;
        *) echo "$id" && return 0 ;;
        esac
    done
    return 1
}

# Clicks a control of a window by its key in the window's skin file.
click_control() {
    local rect x y
    rect=$(grep -i "^$3=" "$BIN/Skins/$2" | cut -d= -f2 | tr -d '\r')
    [ -n "$rect" ] || e2e_fail "no $3 in $2"
    read -r _ x y _ _ < <(window_line "$1")
    [ -n "${x:-}" ] || e2e_fail "window $1 is not shown (clicking $3)"
    IFS=, read -r rx ry rw rh <<<"$rect"
    pointer move $((x + rx + rw / 2)) $((y + ry + rh / 2))
    pointer click
}

shot() {
    local id x y w h
    [ -n "$SHOTS" ] || return 0
    read -r id x y w h < <(window_line "$2")
    # Away from the controls, so that none shows its hover face.
    pointer move 0 $((screen_height - 1))
    sleep 0.3
    grim -g "$x,$y ${w}x$h" "$SHOTS/$1" || e2e_fail "no screenshot $1"
    echo "screenshot: $SHOTS/$1"
}

# --- the program

echo "== the program on the Wayland platform"
QT_QPA_PLATFORM=wayland e2e_start wayland
program=$e2e_pid
e2e_wait 15 new_window || e2e_fail "the window did not show when the keyboard arrived"
main=$(new_window)
e2e_wait 10 icon_registered || e2e_fail "the icon did not register with the watcher"
e2e_wait 10 test -e "$TARVENOR_USER_DIR/Tarvenor_R4X/\$Profile0" || e2e_fail "no mirror"
shot wayland-main.png "$main"

# Opens the assignment dialog for a key of the drawing; its id in $dialog.
open_dialog_for() {
    click_control "$main" Main.ini "$1"
    e2e_wait 5 new_window "$main" || e2e_fail "no assignment dialog for $1"
    dialog=$(new_window "$main")
}

dialog_closed() {
    window_gone "$dialog"
}

echo "-- A pressed as B, applied: the keyboard's profile block sends B at A's place"
a=$(position_of "02 02 04")
open_dialog_for KEY_01E
keys b
shot wayland-assign.png "$dialog"
click_control "$dialog" Composite.ini CONTROL_OK
e2e_wait 5 dialog_closed || e2e_fail "dialog not closed by OK"
click_control "$main" Main.ini CONTROL2_APPLY
e2e_wait 10 memory_hex_is profiles.bin $((a * 3)) 3 "02 02 05" ||
    e2e_fail "A holds $(memory_hex profiles.bin $((a * 3)) 3)"

echo "-- a macro recorded for Q reaches the macro memory"
q=$(position_of "02 02 14")
open_dialog_for KEY_010
click_control "$dialog" Composite.ini CONTROL_MACRO
click_control "$dialog" Composite.ini FUNC_MACRO_ADD
click_control "$dialog" Composite.ini FUNC_MACRO_RECORD
keys a s
# Space would press the focused record button, Return and Escape would close the dialog: while
# recording they are keys of the macro.
keys space Return Escape
window_shown "$dialog" || e2e_fail "the dialog closed while recording"
click_control "$dialog" Composite.ini FUNC_MACRO_RECORD
shot wayland-macro.png "$dialog"
click_control "$dialog" Composite.ini CONTROL_OK
e2e_wait 5 dialog_closed || e2e_fail "dialog not closed by OK"
click_control "$main" Main.ini CONTROL2_APPLY
e2e_wait 10 memory_hex_is profiles.bin $((q * 3)) 3 "05 01 00" ||
    e2e_fail "Q holds $(memory_hex profiles.bin $((q * 3)) 3)"
record=$((0x$(memory_hex macros.bin 16 1) + 0x$(memory_hex macros.bin 17 1) * 256))
# Ten actions, one cycle, name "Macro1"; each key down and up 50 ms apart, the last without delay.
memory_hex_is macros.bin "$record" 4 "0a 00 01 06" ||
    e2e_fail "macro record: $(memory_hex macros.bin "$record" 4)"
memory_hex_is macros.bin $((record + 4)) 40 "05 a0 02 04 05 20 02 04 05 a0 02 16 05 20 02 16 \
05 a0 02 2c 05 20 02 2c 05 a0 02 28 05 20 02 28 05 a0 02 29 00 20 02 29" ||
    e2e_fail "actions: $(memory_hex macros.bin $((record + 4)) 40)"

echo "-- a recording that loses the focus ends there; the key it saw go down gets its release"
w=$(position_of "02 02 1a")
open_dialog_for KEY_011
click_control "$dialog" Composite.ini CONTROL_MACRO
click_control "$dialog" Composite.ini FUNC_MACRO_ADD
click_control "$dialog" Composite.ini FUNC_MACRO_RECORD
pointer press a
swaymsg "[con_id=$main] focus" >/dev/null || e2e_fail "swaymsg focus"
pointer release a
# Keys typed now go to the main window, not into the macro.
keys s
# Focused, sway raised the main window over the dialog.
swaymsg "[con_id=$dialog] focus" >/dev/null || e2e_fail "swaymsg focus"
shot wayland-focus-lost.png "$dialog"
click_control "$dialog" Composite.ini CONTROL_OK
e2e_wait 5 dialog_closed || e2e_fail "dialog not closed by OK"
click_control "$main" Main.ini CONTROL2_APPLY
e2e_wait 10 memory_hex_is profiles.bin $((w * 3)) 3 "05 01 01" ||
    e2e_fail "W holds $(memory_hex profiles.bin $((w * 3)) 3)"
memory_hex_is macros.bin 4 2 "02 00" || e2e_fail "macro count: $(memory_hex macros.bin 4 2)"
record=$((0x$(memory_hex macros.bin 18 1) + 0x$(memory_hex macros.bin 19 1) * 256))
memory_hex_is macros.bin "$record" 12 "02 00 01 06 05 a0 02 04 00 20 02 04" ||
    e2e_fail "macro with the lost focus: $(memory_hex macros.bin "$record" 12)"

echo "-- the tray host goes: the hidden window shows, the program goes on"
click_control "$main" Main.ini CONTROL_CANCEL
e2e_wait 5 window_gone "$main" || e2e_fail "Cancel did not hide the window to the tray"
bar=$(watcher_pid)
[ -n "$bar" ] || e2e_fail "no process owns the watcher"
kill "$bar"
# A window shown again is a new one for the compositor.
e2e_wait 10 new_window || e2e_fail "the window stayed hidden without a tray"
main=$(new_window)
grep -q "no notification area" "$e2e_log" || e2e_fail "no word of the tray going"
e2e_exited "$program" && e2e_fail "the program ended with the tray"

echo "-- the tray host comes back: the icon is back, Cancel hides the window again"
swaymsg reload >/dev/null || e2e_fail "swaymsg reload"
e2e_wait 15 host_registered || e2e_fail "no tray host after the reload"
e2e_wait 10 icon_registered || e2e_fail "the icon did not come back"
e2e_wait 5 grep -q "the icon is back" "$e2e_log" || e2e_fail "no word of the tray coming back"
click_control "$main" Main.ini CONTROL_CANCEL
e2e_wait 5 window_gone "$main" || e2e_fail "Cancel did not hide the window with the tray back"

echo "-- the icon through the host: its menu offers Open, About and Exit; its activation opens"
read -r item_service item_path < <(item_address)
[ -n "${item_path:-}" ] || e2e_fail "no item registered with the watcher"
menu=$(item_call "$item_service" "$item_path" org.freedesktop.DBus.Properties.Get \
    string:org.kde.StatusNotifierItem string:Menu | sed -n 's/.*object path "\(.*\)"/\1/p')
[ -n "$menu" ] && [ "$menu" != / ] || e2e_fail "the item exports no menu"
layout=$(item_call "$item_service" "$menu" com.canonical.dbusmenu.GetLayout int32:0 int32:-1 \
    array:string:label)
# The labels mark their mnemonics with "_".
for item in Open About Exit; do
    echo "$layout" | tr -d _ | grep -q "string \"$item\"" || e2e_fail "the menu lacks $item"
done
# swaybar's left click: the host's activation, a StatusNotifierItem's double click.
item_call "$item_service" "$item_path" org.kde.StatusNotifierItem.Activate int32:0 int32:0 \
    >/dev/null || e2e_fail "the item did not take Activate"
e2e_wait 10 new_window || e2e_fail "the icon's activation did not open the window"

echo "-- /Kill ends it and leaves nothing behind"
QT_QPA_PLATFORM=wayland "$BIN/tarvenor" /Kill || e2e_fail "/Kill exit $?"
e2e_wait 10 e2e_exited "$program" || e2e_fail "/Kill did not end the program"
wait "$program" || e2e_fail "program exit code $?"
e2e_nothing_left
echo "wayland end-to-end: passed"
