#!/bin/sh
# Configures and builds the program, its tests and tools into ./build. TARVENOR_WERROR=ON in the
# environment makes compiler warnings errors (developers and CI); TARVENOR_DEBUG_INFO=OFF leaves
# out debug information (CI, which only tests the build).
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DTARVENOR_WERROR="${TARVENOR_WERROR:-OFF}" \
    -DTARVENOR_DEBUG_INFO="${TARVENOR_DEBUG_INFO:-ON}"
cmake --build build -j "$(nproc)"
