#!/bin/sh
# Sets everything up and runs the program on the virtual keyboard. On a machine without a display
# it runs it under Xvfb, saves a screenshot of the main window and says where. It installs and
# builds only what that needs (no test program): the "run" preset into build/.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
scripts/build.sh run
export TARVENOR_HIDSERV="$PWD/build/bin/libHidServSim.so"
export TARVENOR_SIM_DIR="${TARVENOR_SIM_DIR:-$PWD/build/virtual-keyboard}"
if [ -n "${DISPLAY:-}" ]; then
    exec build/bin/tarvenor "$@"
fi

shot="${TARVENOR_SCREENSHOT:-$PWD/build/tarvenor-main-window.png}"
n=90
# A server of another root or container shows only by its abstract socket.
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] ||
    grep -q "@/tmp/.X11-unix/X$n\$" /proc/net/unix 2>/dev/null; do
    n=$((n + 1))
done
Xvfb ":$n" -screen 0 1600x1000x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
export DISPLAY=":$n"
until xdotool getdisplaygeometry >/dev/null 2>&1; do sleep 0.1; done
trayer --edge bottom --align right --width 10 --height 32 >/dev/null 2>&1 &
tray=$!
trap 'kill $tray $xvfb 2>/dev/null' EXIT
sleep 0.5

build/bin/tarvenor "$@" &
program=$!
window=""
for _ in $(seq 1 200); do
    window=$(xdotool search --all --onlyvisible --pid "$program" --name . 2>/dev/null | head -1)
    [ -n "$window" ] && break
    sleep 0.05
done
if [ -z "$window" ]; then
    echo "run-virtual: the main window did not appear" >&2
    build/bin/tarvenor /kill
    exit 1
fi
# Let the arrival reads finish and the window paint them.
sleep 1
import -window "$window" "$shot"
build/bin/tarvenor /kill
wait "$program"
echo "Screenshot of the main window: $shot"
