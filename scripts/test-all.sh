#!/bin/sh
# Sets everything up, builds, and runs every test: the full build, then the core tests again under
# the address and undefined-behaviour sanitizers.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)")

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DTARVENOR_CORE_ONLY=ON -DTARVENOR_SANITIZE=ON -DTARVENOR_BENCH=OFF
cmake --build build-sanitize -j "$(nproc)"
(cd build-sanitize && ctest --output-on-failure -j "$(nproc)")
