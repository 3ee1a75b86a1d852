#!/bin/bash
# SIGINT and SIGTERM stop tarvenor-cli's push and pull on a slow keyboard at the next command:
# the transfer is closed with its EndTransfer, the run ends within about 3 s with 128 + the
# signal, a push says it may be partial, and an interrupted pull leaves its file as it was.
# Usage: cli_signals_e2e.sh PROGRAM_FOLDER
set -u
BIN=$(cd "$1" && pwd)
. "$(dirname "$0")/e2e_lib.sh"

# Runs tarvenor-cli with ARGUMENTS on a keyboard answering after 60 ms, sends SIGNAL once a
# request with command byte CODE went out, and expects exit code STATUS; its standard error in
# $e2e_log, its traffic alone in $TARVENOR_SIM_TRAFFIC.
interrupt_cli() {
    local signal=$1 code=$2 status=$3 run
    shift 3
    : >"$TARVENOR_SIM_TRAFFIC"
    e2e_log="$e2e_work/$1.log"
    TARVENOR_SIM_LATENCY_MS=60 "$BIN/tarvenor-cli" "$@" 2>"$e2e_log" &
    run=$!
    e2e_pids="$e2e_pids $run"
    e2e_signal_during "$signal" "$run" "$TARVENOR_SIM_TRAFFIC" "$code" "$status"
}

e2e_fresh_user cli-signals
export TARVENOR_SIM_TRAFFIC="$e2e_work/traffic"
files="$e2e_work/files"
mkdir -p "$files"
"$BIN/tarvenor-cli" pull "$files/keyboard.tvp" || e2e_fail "pull exit $?"

echo "== SIGINT during a push"
# Interrupted while the keys of the first profile (seven reports of three times seven) go out.
interrupt_cli INT 08 130 push "$files/keyboard.tvp"
grep -q "push may be partial" "$e2e_log" || e2e_fail "no word that the push may be partial"
last=$(e2e_last_request "$TARVENOR_SIM_TRAFFIC")
[ "$last" = 02 ] || e2e_fail "the keyboard's last request was $last, not EndTransfer"
written=$(e2e_request_count "$TARVENOR_SIM_TRAFFIC" 08)
[ "$written" -lt 21 ] || e2e_fail "the push ran to its end"

echo "-- the keyboard is free at once for the next run"
before=$(e2e_now)
"$BIN/tarvenor-cli" push "$files/keyboard.tvp" || e2e_fail "push after the interrupted one: $?"
echo "   the next push took $(($(e2e_now) - before)) ms"

echo "== SIGTERM during a pull over an existing file"
cp "$files/keyboard.tvp" "$files/out.tvp"
# Interrupted while the three profiles' keys are read (the macros come after them).
interrupt_cli TERM 07 143 pull "$files/out.tvp"
grep -q "was not written" "$e2e_log" || e2e_fail "no word that the file was not written"
! e2e_request_sent "$TARVENOR_SIM_TRAFFIC" 09 || e2e_fail "the pull read on after the signal"
cmp -s "$files/keyboard.tvp" "$files/out.tvp" || e2e_fail "the interrupted pull changed the file"
[ "$(ls -A "$files" | wc -l)" -eq 2 ] || e2e_fail "files left by the pull: $(ls -A "$files")"
echo "all passed"
