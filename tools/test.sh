#!/usr/bin/env bash
# Runs the whole test suite: the sanitizer builds (AddressSanitizer with
# UndefinedBehaviorSanitizer, with a bounded fuzzing run; ThreadSanitizer, for
# what the audio and message threads share), a short benchmark run, and last
# the Release build's full suite, whose CTest summary ends the output.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc)"

bash "$root/tools/setup.sh"

configure() {
    local dir="$1"; shift
    mkdir -p "$root/$dir"
    cmake -S "$root" -B "$root/$dir" -G Ninja -DMODULIX_INSTALL_PLUGIN=OFF "$@" > "$root/$dir/configure.log" \
        || { cat "$root/$dir/configure.log"; return 1; }
}

# Every suite runs with an X display (Xvfb and a window manager), which the
# tests of real plug-in windows, popup menus and mouse clicks need.
run_ctest() {
    (cd "$root/$1" && shift && "$root/tools/with-display.sh" ctest --output-on-failure --parallel "$jobs" "$@")
}

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
CC=clang CXX=clang++ configure build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DMODULIX_SANITIZE="address;undefined" -DMODULIX_FUZZ=ON
cmake --build "$root/build-asan" --parallel "$jobs"
ASAN_OPTIONS=detect_leaks=1 run_ctest build-asan

echo "== Fuzzing every reader of outside bytes (state, preset, VST2 and AAX chunks)"
bash "$root/fuzz/run.sh" "$root/build-asan" 60

echo "== ThreadSanitizer"
CC=clang CXX=clang++ configure build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMODULIX_SANITIZE=thread
cmake --build "$root/build-tsan" --parallel "$jobs"
TSAN_OPTIONS="halt_on_error=1 suppressions=$root/tools/tsan.supp" run_ctest build-tsan

echo "== Release build"
configure build -DCMAKE_BUILD_TYPE=Release
cmake --build "$root/build" --parallel "$jobs"

echo "== Benchmarks (short run; timings are not checked)"
"$root/build/benchmarks/modulix_benchmarks" --benchmark_min_time=0.01 > "$root/build/benchmarks.txt"
tail -n 5 "$root/build/benchmarks.txt"

echo "== Test suite"
run_ctest build
