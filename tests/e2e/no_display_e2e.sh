#!/bin/bash
# The real program without a display, and with one nobody serves: the options that need no window
# work, a start that needs one ends with exit 1 and one line naming DISPLAY and WAYLAND_DISPLAY,
# never with Qt's abort. A running instance (on Xvfb, or offscreen) is still reached without one.
# Usage: no_display_e2e.sh PROGRAM_FOLDER
set -u
BIN=$(cd "$1" && pwd)
. "$(dirname "$0")/e2e_lib.sh"

# Runs the program with the given variables (NAME=VALUE ...) on top of no display at all, then
# "--" and its arguments; exit code in $status, standard output and error in $out and $err.
run_without_display() {
    local variables=()
    while [ "$1" != "--" ]; do
        variables+=("$1")
        shift
    done
    shift
    env -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET -u QT_QPA_PLATFORM "${variables[@]}" \
        "$BIN/tarvenor" "$@" >"$e2e_work/out" 2>"$e2e_work/err"
    status=$?
    out=$(cat "$e2e_work/out")
    err=$(cat "$e2e_work/err")
}

# The run ended with exit 1 and exactly the line EXPECTED on standard error.
expect_refused() {
    local expected=$1 what=$2
    [ "$status" -eq 1 ] || e2e_fail "$what: exit $status (standard error: $err)"
    [ "$err" = "$expected" ] || e2e_fail "$what: standard error '$err', not '$expected'"
}

# Semaphores some other run left in /dev/shm are none of this test's business.
if ls /dev/shm/sem.Tarvenor_Event_Main_*".$(id -u)" >/dev/null 2>&1; then
    echo "(named semaphores of another run are in /dev/shm: only the runtime folder is checked)"
    nothing_left() {
        for left in "Brennic RGB" "Brennic RGB.lock"; do
            [ ! -e "$XDG_RUNTIME_DIR/$left" ] || e2e_fail "left in the runtime folder: $left"
        done
    }
else
    nothing_left() { e2e_nothing_left; }
fi

e2e_fresh_user nodisplay

echo "-- --help and --version need no display"
run_without_display -- --help
[ "$status" -eq 0 ] && [ -z "$err" ] && echo "$out" | grep -q "^usage: tarvenor" ||
    e2e_fail "--help: exit $status, '$out' '$err'"
run_without_display -- --version
[ "$status" -eq 0 ] && echo "$out" | grep -qx "tarvenor [0-9.]*" ||
    e2e_fail "--version: exit $status, '$out'"

echo "-- a start without a display: one line, exit 1"
for arguments in "" /Start /Kill "/kill /start"; do
    # shellcheck disable=SC2086 # the arguments are words
    run_without_display -- $arguments
    expect_refused "tarvenor: no display could be opened (DISPLAY not set, WAYLAND_DISPLAY not set)" \
        "start with '$arguments'"
done
nothing_left

echo "-- a display nobody serves"
dead=":$((6000 + $$ % 1000))" # (above the displays e2e_display takes)
DISPLAY=$dead xdotool getdisplaygeometry >/dev/null 2>&1 && e2e_fail "$dead answers"
run_without_display "DISPLAY=$dead" WAYLAND_DISPLAY=wayland-nobody --
expect_refused "tarvenor: no display could be opened (DISPLAY=$dead, WAYLAND_DISPLAY=wayland-nobody)" \
    "dead displays"

echo "-- a platform that does not start: the same line, no abort"
run_without_display QT_QPA_PLATFORM=no-such-platform --
[ "$status" -eq 1 ] || e2e_fail "unknown platform: exit $status"
[ "$(echo "$err" | tail -1)" = "tarvenor: no display could be opened (QT_QPA_PLATFORM=no-such-platform, DISPLAY not set, WAYLAND_DISPLAY not set): the window system did not start" ] ||
    e2e_fail "unknown platform: '$err'"
echo "$err" | grep -q "Reinstalling" && e2e_fail "Qt's abort message: '$err'"
nothing_left

echo "-- a running instance on a display is reached without one"
e2e_display tray
e2e_start quiet /Start
instance=$e2e_pid
e2e_wait 10 test -S "$XDG_RUNTIME_DIR/Brennic RGB" || e2e_fail "the instance does not serve"
e2e_wait 10 test -e "$TARVENOR_USER_DIR/Tarvenor_R4X/\$Profile0" || e2e_fail "no keyboard read"
e2e_window_hidden "$instance" || e2e_fail "/Start showed the window"
run_without_display --
[ "$status" -eq 0 ] && [ -z "$err" ] || e2e_fail "hand-over without a display: exit $status, '$err'"
e2e_wait 5 e2e_window_shown "$instance" || e2e_fail "the hand-over did not open the window"
run_without_display -- /Kill
[ "$status" -eq 0 ] || e2e_fail "/Kill without a display: exit $status, '$err'"
e2e_wait 5 e2e_exited "$instance" || e2e_fail "/Kill without a display did not end the instance"
nothing_left

echo "-- offscreen still needs no display, and /Kill reaches it"
e2e_fresh_user offscreen
run_without_display QT_QPA_PLATFORM=offscreen -- --version
[ "$status" -eq 0 ] || e2e_fail "offscreen --version: exit $status"
env -u DISPLAY QT_QPA_PLATFORM=offscreen "$BIN/tarvenor" >"$e2e_work/offscreen.log" 2>&1 &
instance=$!
e2e_pids="$e2e_pids $instance"
e2e_log=$e2e_work/offscreen.log
e2e_wait 10 test -S "$XDG_RUNTIME_DIR/Brennic RGB" || e2e_fail "the offscreen instance does not serve"
run_without_display -- /kill
[ "$status" -eq 0 ] || e2e_fail "/Kill of the offscreen instance: exit $status, '$err'"
e2e_wait 5 e2e_exited "$instance" || e2e_fail "/Kill did not end the offscreen instance"
nothing_left
echo "no display end-to-end: passed"
