#!/bin/bash
# The doctor's notification-area check against a real X server: no tray, a tray on the display's
# own screen, a tray on another screen only, a tray that went away, no display and a display
# that does not answer; and a session bus without a StatusNotifierItem host. (A bus with a host:
# wayland_e2e.sh.)
# Usage: doctor_tray_e2e.sh PROGRAM_FOLDER TRAY_OWNER_PROGRAM
set -u
BIN=$(cd "$1" && pwd)
tray_owner=$2
. "$(dirname "$0")/e2e_lib.sh"

# The notification-area line of `doctor --json` as "STATUS|detail|fix".
tray_check() {
    "$BIN/tarvenor-cli" doctor --json |
        jq -r '.checks[] | select(.check == "notification area") | "\(.status)|\(.detail)|\(.fix)"'
}

expect_check() {
    local got
    got=$(tray_check)
    # shellcheck disable=SC2254 # the expectation is a pattern
    case $got in
    $1) ;;
    *) e2e_fail "$2: notification area reported '$got'" ;;
    esac
}

expect_missing() {
    expect_check "FIX|none on display $1; no session bus to ask*|add a system tray to the panel*" \
        "$2"
}

echo "== the doctor's notification-area check"
e2e_display second-screen
e2e_fresh_user doctor
# No session bus: the X server alone answers (the private runtime folder holds no bus either).
unset DBUS_SESSION_BUS_ADDRESS
display=$DISPLAY

echo "-- no tray: the fix is named"
expect_missing "$display" "no tray"

echo "-- a tray on screen 0"
coproc TRAY { exec "$tray_owner"; }
e2e_pids="$e2e_pids $TRAY_PID"
owner_pid=$TRAY_PID
owner_input=${TRAY[1]}
read -r -t 10 ready <&"${TRAY[0]}"
[ "${ready:-}" = owner ] || e2e_fail "the tray owner did not take the selection"
expect_check "OK|the program uses an X11 tray on display $display when it runs on X11; *|null" \
    "tray on screen 0"
echo "-- screen 1 asks for its own tray"
DISPLAY="$display.1" expect_missing "$display.1" "tray on screen 0 only"

echo "-- the tray goes away"
exec {owner_input}>&-
wait "$owner_pid" || e2e_fail "the tray owner failed: exit $?"
expect_missing "$display" "tray gone"

echo "-- no display to ask"
DISPLAY="" expect_check "UNKNOWN|no X display to ask*|null" "empty DISPLAY"
unset DISPLAY
expect_check "UNKNOWN|no X display to ask*|null" "no DISPLAY"
DISPLAY=":$((${display#:} + 100))" expect_check "UNKNOWN|cannot reach the X display*|null" \
    "a display nobody serves"

echo "-- a session bus without a StatusNotifierItem host, no X display: the fix names the extension"
got=$(DISPLAY="" dbus-run-session -- "$BIN/tarvenor-cli" doctor --json |
    jq -r '.checks[] | select(.check == "notification area") | "\(.status)|\(.detail)|\(.fix)"')
case $got in
"FIX|no X display to ask (DISPLAY is not set); no StatusNotifierItem host on the session bus|"*"AppIndicator extension"*) ;;
*) e2e_fail "bus without a host: notification area reported '$got'" ;;
esac
echo "doctor notification area end-to-end: passed"
