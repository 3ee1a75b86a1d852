#!/bin/sh
# Configures and builds the program, its tests and tools into ./build.
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja
cmake --build build -j "$(nproc)"
