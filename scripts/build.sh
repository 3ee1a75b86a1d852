#!/bin/sh
# Configures and builds the program, its tests and tools into ./build. TARVENOR_WERROR=ON in the
# environment makes compiler warnings errors (developers and CI).
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DTARVENOR_WERROR="${TARVENOR_WERROR:-OFF}"
cmake --build build -j "$(nproc)"
