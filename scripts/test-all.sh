#!/bin/sh
# Sets everything up, builds, and runs every test: the full build with warnings as errors, the core
# again with clang under the address and undefined-behaviour sanitizers, the service library's and
# the device layer's tests under the thread sanitizer, the core cross-built for Windows under Wine,
# then twenty seconds of fuzzing of every decoder.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh all
scripts/build.sh ci
# The Windows cross build needs nothing of build/, and the end-to-end tests below leave a core
# idle most of the time: it is built meanwhile, at the lowest priority, so that the tests keep
# their timing.
mkdir -p build-mingw
nice -n 19 scripts/test-windows.sh build >build-mingw/build.log 2>&1 &
windows_build=$!
# A test that fails is run once more before the run fails: the end-to-end tests wait on real
# time, which a loaded machine can stretch.
ctest --preset ci -j "$(nproc)" --repeat until-pass:2

# clang builds the sanitizer run, so that both compilers build and test the core.
scripts/build.sh asan
ctest --preset asan -j "$(nproc)"

# The service library and the device layer again under the thread sanitizer (the preset builds
# their tests only).
scripts/build.sh tsan
build-tsan/bin/test_hidserv
build-tsan/bin/test_virtual_keyboard
build-tsan/bin/test_device

# The core cross-built for Windows, its tests run under Wine.
wait "$windows_build" || { cat build-mingw/build.log; exit 1; }
scripts/test-windows.sh test

# Fuzz every decoder of outside data for twenty seconds (clang, libFuzzer); a crash or sanitizer
# report fails the script.
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
    -DTARVENOR_FUZZ=ON -DTARVENOR_CORE_ONLY=ON -DTARVENOR_BENCH=OFF -DCMAKE_UNITY_BUILD=ON
cmake --build build-fuzz --target fuzz_targets -j "$(nproc)"
# Side by side: each fuzzer is one process on one core.
fuzzers="profile_file_fuzz macro_block_fuzz profile_block_fuzz"
for target in $fuzzers; do
    build-fuzz/bin/$target -max_total_time=20 -max_len=70000 -print_final_stats=1 \
        >"build-fuzz/$target.log" 2>&1 &
    echo $! >"build-fuzz/$target.pid"
done
for target in $fuzzers; do
    log="build-fuzz/$target.log"
    if wait "$(cat "build-fuzz/$target.pid")"; then
        echo "$target: $(grep -E '^Done [0-9]+ runs' "$log")"
    else
        cat "$log"
        exit 1
    fi
done
