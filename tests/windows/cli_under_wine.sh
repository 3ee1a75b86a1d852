#!/bin/sh
# The Windows command line under Wine on the Windows virtual keyboard: the library loads by
# LoadLibrary, the keyboard lock and the memory files work between processes, profile files are
# written and read back. Usage: cli_under_wine.sh BIN_FOLDER WINE
set -eu
bin=$(cd "$1" && pwd)
wine=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TARVENOR_HIDSERV="$bin/HidServSim.dll" TARVENOR_SIM_DIR="$work/memory"

fail() {
    echo "cli_under_wine: $*" >&2
    exit 1
}

# Runs tarvenor-cli.exe in the work folder (paths relative: "/..." reads as an option on Windows)
# and checks its exit code.
cli() {
    expected=$1
    shift
    status=0
    output=$(cd "$work" && "$wine" "$bin/tarvenor-cli.exe" "$@" 2>&1) || status=$?
    output=$(printf '%s' "$output" | tr -d '\r') # Windows ends lines with CR LF
    [ "$status" -eq "$expected" ] || fail "tarvenor-cli $* exited $status, not $expected: $output"
}

cli 0 info
echo "$output" | grep -q "^Keyboards connected: 1" || fail "info: $output"
cli 0 profile 3
cli 0 profile
[ "$output" = 3 ] || fail "the active profile read back is '$output', not 3"
cli 0 key-colour --profile 1 A ff0000
cli 0 lighting --profile 1 --per-key
echo "$output" | grep -q "^  A FF0000" || fail "key A's colour did not stay: $output"
cli 0 new default.tvp
cli 0 push default.tvp
cli 0 pull pulled.tvp
cli 0 validate pulled.tvp
echo "cli_under_wine: passed"
