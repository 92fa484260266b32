#!/usr/bin/env bash
# Fuzzes every reader of outside bytes for a bounded time: run.sh BUILD_DIR SECONDS.
# The seconds are shared out evenly between the fuzz targets. New inputs go to a
# folder per target in the build tree, so the committed seeds stay as they are.
set -euo pipefail
build="$1"
seconds="$2"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

# Freed memory is held back from reuse for 64 MB of later frees instead of 256:
# still many inputs' worth, where a use after free within one input is found,
# while the fuzzers, which free a bank's worth of text and elements many times
# a second, stop touching fresh pages for every allocation.
export ASAN_OPTIONS="quarantine_size_mb=64${ASAN_OPTIONS:+:$ASAN_OPTIONS}"

targets=(state_fuzzer vst2_chunk_fuzzer aax_chunk_fuzzer vst3_state_fuzzer)
share=$(( seconds / ${#targets[@]} ))
[ "$share" -ge 1 ] || share=1

for target in "${targets[@]}"; do
    work="$build/fuzz/corpus-run/$target"
    mkdir -p "$work"
    echo "-- $target: ${share}s"
    "$build/fuzz/$target" -max_total_time="$share" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 "$work" "$here/corpus" 2>&1 | tail -n 20
done
