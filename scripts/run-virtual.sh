#!/bin/sh
# Sets everything up and runs the program's main job against the virtual keyboard.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
export TARVENOR_HIDSERV="$PWD/build/bin/libHidServSim.so"
export TARVENOR_SIM_DIR="${TARVENOR_SIM_DIR:-$PWD/build/virtual-keyboard}"
exec build/bin/tarvenor-cli info "$@"
