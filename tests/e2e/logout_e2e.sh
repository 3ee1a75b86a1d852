#!/bin/bash
# The desktop session's end ends the real program as a signal does. A session manager of our own
# (XSMP over a local ICE socket) takes the program's registration and, at the logout, asks it to
# save itself for a shutdown: the program answers, ends with exit code 0 within 3 s, also while
# an Apply is writing to a slow keyboard (the transfer closed with its EndTransfer), leaves
# nothing of the run behind, and the next start works.
# Usage: logout_e2e.sh PROGRAM_FOLDER SESSION_MANAGER
set -u
BIN=$(cd "$1" && pwd)
manager_program=${2:-}
if [ -z "$manager_program" ] || [ ! -x "$manager_program" ]; then
    echo "SKIP: no test session manager: libSM and libICE were missing at the build (apt-get install libsm-dev libice-dev)"
    exit 77
fi
if ! command -v Xvfb >/dev/null; then
    echo "SKIP: Xvfb is not installed, no X session to end (apt-get install xvfb)"
    exit 77
fi
. "$(dirname "$0")/e2e_lib.sh"

# Starts the session manager, which asks for save type SAVE (both, global, local) and interact
# style STYLE (any, none) at the session's end, and points SESSION_MANAGER at it; its process in
# $manager, what its clients did in $manager_log.
start_manager() {
    local address="$e2e_work/manager-$1-$2.address"
    manager_log="$e2e_work/manager-$1-$2.log"
    "$manager_program" "$address" "$1" "$2" >"$manager_log" 2>&1 &
    manager=$!
    e2e_pids="$e2e_pids $manager"
    e2e_wait 5 test -s "$address" || e2e_fail "the session manager did not start"
    SESSION_MANAGER=$(cat "$address")
    export SESSION_MANAGER
}

stop_manager() {
    kill -s TERM "$manager"
    e2e_wait 3 e2e_exited "$manager" || e2e_fail "the session manager did not end"
    wait "$manager"
    unset SESSION_MANAGER
}

manager_said() {
    grep -qx "$1" "$manager_log"
}

manager_failed() {
    e2e_fail "$1; the session manager's log: $(tr '\n' ';' <"$manager_log")"
}

# Process PID has registered with the session manager: its client id in $client.
registered() {
    client=$(awk -v pid="$1" '$1 == "registered" && $3 == pid { print $2 }' "$manager_log")
    [ -n "$client" ]
}

# The registered client $client saved itself, was told to die and closed its connection, each
# in its turn.
took_part() {
    local step line previous=0
    for step in save-yourself save-yourself-done die closed; do
        line=$(grep -nx "$step $client" "$manager_log" | head -1 | cut -d: -f1)
        [ -n "$line" ] || manager_failed "the program never did: $step"
        [ "$line" -gt "$previous" ] || manager_failed "$step came out of turn"
        previous=$line
    done
}

# Waits (10 s at most) until process PID has registered with the session manager.
wait_registered() {
    e2e_wait 10 registered "$1" || manager_failed "the program did not register"
    echo "   registered as $client"
}

# The idle program, window shown, ends at the session's end (save type SAVE, interact style
# STYLE) and leaves nothing behind.
ends_at_logout() {
    start_manager "$1" "$2"
    e2e_start_shown "idle-$1-$2"
    program=$e2e_pid
    wait_registered "$program"
    e2e_wait 10 test -S "$XDG_RUNTIME_DIR/Brennic RGB" || e2e_fail "no instance socket"
    local before status
    before=$(e2e_now)
    kill -s USR1 "$manager"
    e2e_wait 3 e2e_exited "$program" || manager_failed "still running 3 s after the session's end"
    echo "   ended $(($(e2e_now) - before)) ms after the session's end"
    wait "$program"
    status=$?
    [ "$status" -eq 0 ] || e2e_fail "exit code $status after the session's end, not 0"
    e2e_wait 3 manager_said "closed $client" || manager_failed "the connection was not closed"
    took_part
    e2e_nothing_left
    stop_manager
}

e2e_display
e2e_fresh_user logout
export TARVENOR_SIM_TRAFFIC="$e2e_work/traffic"

echo "== the session's end while idle, as desktops end it (save both, interact any)"
ends_at_logout both any

e2e_new_start_works

echo "== a session that saves only locally ends the program by its Die"
ends_at_logout local none

echo "== the session's end during an Apply to a slow keyboard (save global, interact none)"
start_manager global none
start_with_change apply 150
wait_registered "$program"
e2e_click_control "$main" Main.ini CONTROL2_APPLY
# Ended while the profile's keys (seven reports) go out, with exit code 0: the clean shutdown.
e2e_signal_during USR1 "$manager" "$TARVENOR_SIM_TRAFFIC" 08 0 "$program"
last=$(e2e_last_request "$TARVENOR_SIM_TRAFFIC")
[ "$last" = 02 ] || e2e_fail "the keyboard's last request was $last, not EndTransfer"
written=$(e2e_request_count "$TARVENOR_SIM_TRAFFIC" 08)
[ "$written" -lt 7 ] || e2e_fail "the Apply ran to its end"
e2e_wait 3 manager_said "closed $client" || manager_failed "the connection was not closed"
took_part
e2e_nothing_left
stop_manager
echo "all passed"
