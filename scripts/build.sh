#!/bin/sh
# Configures and builds with one of the presets of CMakePresets.json (default: dev, everything with
# its tests in ./build, warnings as errors).
# Usage: scripts/build.sh [PRESET]   (dev, ci, run, release, asan, tsan)
set -eu
cd "$(dirname "$0")/.."
preset=${1:-dev}
cmake --preset "$preset"
cmake --build --preset "$preset" -j "$(nproc)"
