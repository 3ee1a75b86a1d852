#!/bin/bash
# How long the README's run command takes on a fresh Debian 12: a new bookworm root (debootstrap,
# minbase) gets the committed tree (git archive HEAD), and scripts/run-virtual.sh is timed in it,
# from the download of the packages to the screenshot of the main window. The screenshot and the
# log are copied out. Run as root, with the network to the Debian mirror apt uses here. Not part
# of the tests.
# Usage: scripts/time-first-run.sh [OUT_FOLDER]   (KEEP_ROOTS=1 keeps the root)
set -eu
[ "$(id -u)" -eq 0 ] || { echo "time-first-run: run as root" >&2; exit 1; }
source=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-/tmp/tarvenor-first-run}
mkdir -p "$out" && out=$(cd "$out" && pwd)
# shellcheck source=scripts/fresh-root-lib.sh
. "$source/scripts/fresh-root-lib.sh"

root=$work/root
make_base_root "$root" "$out/debootstrap.log"
mount_system "$root"
step "the committed tree in $root/root/tarvenor"
mkdir -p "$root/root/tarvenor"
git -C "$source" archive HEAD | tar -x -C "$root/root/tarvenor"
step "scripts/run-virtual.sh, timed ($out/run-virtual.log)"
start=$(date +%s)
in_root "$root" sh -c 'cd /root/tarvenor && scripts/run-virtual.sh' >"$out/run-virtual.log" 2>&1 ||
    fail "scripts/run-virtual.sh (see $out/run-virtual.log)"
seconds=$(($(date +%s) - start))
cp "$root/root/tarvenor/build/tarvenor-main-window.png" "$out/"
echo "First run on a fresh Debian 12: $((seconds / 60)) min $((seconds % 60)) s (packages, build, start, screenshot) on $(nproc) cores"
echo "Screenshot: $out/tarvenor-main-window.png"
