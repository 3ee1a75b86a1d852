#!/bin/bash
# A signal ends the real program as the tray's Exit does, also while an Apply is writing to a slow
# keyboard: the transfer is closed with its EndTransfer, nothing of the run is left behind, and
# the next start works. A second signal ends a shutdown that takes too long at once.
# Usage: signals_e2e.sh PROGRAM_FOLDER
set -u
BIN=$(cd "$1" && pwd)
. "$(dirname "$0")/e2e_lib.sh"

e2e_display
e2e_fresh_user signals
export TARVENOR_SIM_TRAFFIC="$e2e_work/traffic"

echo "== SIGTERM during an Apply to a slow keyboard"
start_with_change term 150
e2e_click_control "$main" Main.ini CONTROL2_APPLY
# Interrupted while the profile's keys (seven reports) go out.
# Exit code 0: the clean shutdown, not the bound's 143.
e2e_signal_during TERM "$program" "$TARVENOR_SIM_TRAFFIC" 08 0
last=$(e2e_last_request "$TARVENOR_SIM_TRAFFIC")
[ "$last" = 02 ] || e2e_fail "the keyboard's last request was $last, not EndTransfer"
written=$(e2e_request_count "$TARVENOR_SIM_TRAFFIC" 08)
[ "$written" -lt 7 ] || e2e_fail "the Apply ran to its end"
e2e_nothing_left

e2e_new_start_works

echo "== SIGINT and SIGHUP while idle end it cleanly"
for signal in INT HUP; do
    e2e_start_shown "idle-$signal"
    idle=$e2e_pid
    e2e_wait 10 test -S "$XDG_RUNTIME_DIR/Brennic RGB" || e2e_fail "no instance socket"
    kill -s "$signal" "$idle"
    e2e_wait 3 e2e_exited "$idle" || e2e_fail "SIG$signal did not end the program"
    wait "$idle" || e2e_fail "SIG$signal: exit code $?"
    e2e_nothing_left
done

echo "== a second SIGTERM while the shutdown waits on a silent keyboard ends it at once"
start_with_change double 0
# Silent from the macro area's second chunk on: the command under way waits out its attempts.
simctl fault no-answer 1000 2
e2e_click_control "$main" Main.ini CONTROL2_APPLY
e2e_wait 20 e2e_request_sent "$TARVENOR_SIM_TRAFFIC" 0a || e2e_fail "no Apply"
kill -s TERM "$program"
# The exit sequence has run (the instance socket is gone); the worker still waits.
e2e_wait 3 test ! -e "$XDG_RUNTIME_DIR/Brennic RGB" || e2e_fail "no exit sequence after SIGTERM"
e2e_exited "$program" && e2e_fail "the shutdown did not wait on the silent keyboard"
before=$(e2e_now)
kill -s TERM "$program"
e2e_wait 2 e2e_exited "$program" || e2e_fail "the second SIGTERM did not end the program"
took=$(($(e2e_now) - before))
echo "   ended $took ms after the second SIGTERM"
[ "$took" -lt 500 ] || e2e_fail "the second SIGTERM took $took ms"
wait "$program"
status=$?
[ "$status" -eq 143 ] || e2e_fail "exit code $status after the second SIGTERM, not 143"

echo "-- the next start still works"
e2e_start_shown after-double
after=$e2e_pid
"$BIN/tarvenor" /kill || e2e_fail "/kill exit $?"
e2e_wait 5 e2e_exited "$after" || e2e_fail "/kill did not end the start after a double SIGTERM"
e2e_nothing_left
echo "all passed"
