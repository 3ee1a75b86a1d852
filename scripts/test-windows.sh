#!/bin/sh
# Cross-builds the Qt-free core for Windows with mingw-w64 into build-mingw/ and runs its tests
# under Wine, in a Wine prefix of its own inside the build folder.
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build-mingw -G Ninja --toolchain cmake/mingw-w64.cmake \
    -DTARVENOR_CORE_ONLY=ON -DTARVENOR_BENCH=OFF -DTARVENOR_WERROR=ON
cmake --build build-mingw -j "$(nproc)" --target test_model test_virtual_keyboard HidServSim tarvenor-simctl

export WINEDEBUG=-all
WINEPREFIX="$(pwd)/build-mingw/wineprefix"
export WINEPREFIX
wine=/usr/lib/wine/wine64
command -v wine64 >/dev/null 2>&1 && wine=wine64
for test in test_model test_virtual_keyboard; do
    "$wine" "build-mingw/bin/$test.exe" --gtest_brief=1
done
wineserver -k 2>/dev/null || true
