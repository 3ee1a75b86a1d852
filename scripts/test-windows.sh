#!/bin/sh
# Cross-builds the Qt-free core, the virtual keyboard and the command line for Windows with
# mingw-w64 into build-mingw/, and runs the core's tests and the command line under Wine, in a
# Wine prefix of its own inside the build folder.
# Usage: scripts/test-windows.sh [build|test]   (both when not told)
set -eu
cd "$(dirname "$0")/.."
stage=${1:-all}
tests="test_model test_virtual_keyboard test_device test_engine"
# Built to be tested, not shipped: no optimisation, no debug information and a batch of files per
# compiler run (unity build) keep the build quick.
if [ "$stage" != test ]; then
    cmake -S . -B build-mingw -G Ninja --toolchain cmake/mingw-w64.cmake \
        -DCMAKE_BUILD_TYPE=Debug -DTARVENOR_DEBUG_INFO=OFF -DCMAKE_UNITY_BUILD=ON \
        -DTARVENOR_CORE_ONLY=ON -DTARVENOR_BENCH=OFF -DTARVENOR_WERROR=ON
    # shellcheck disable=SC2086 # the list is words
    cmake --build build-mingw -j "$(nproc)" --target $tests tarvenor-cli tarvenor-simctl \
        HidServSim tarvenor_resources
    [ "$stage" = build ] && exit 0
fi

export WINEDEBUG=-all
WINEPREFIX="$(pwd)/build-mingw/wineprefix"
export WINEPREFIX
wine=/usr/lib/wine/wine64
command -v wine64 >/dev/null 2>&1 && wine=$(command -v wine64)
for test in $tests; do
    "$wine" "build-mingw/bin/$test.exe" --gtest_brief=1
done
tests/windows/cli_under_wine.sh build-mingw/bin "$wine"
wineserver -k 2>/dev/null || true
