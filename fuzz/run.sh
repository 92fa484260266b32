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

# Every target reads XML, so each is guided by the dictionary of its syntax,
# the documents' names and UTF-8 in every form, overlong ones included.
#
# Under ASan an input costs a millisecond or two (state 1.1 ms, AAX 1.9 ms,
# VST2 and VST3 2.4 ms, on a loaded machine): a second, libFuzzer's shortest
# timeout, reports one that costs about a thousand times that, such as a
# reader whose work grows with the square of its input.
targets=(state_fuzzer vst2_chunk_fuzzer aax_chunk_fuzzer vst3_state_fuzzer)
share=$(( seconds / ${#targets[@]} ))
[ "$share" -ge 1 ] || share=1

for target in "${targets[@]}"; do
    work="$build/fuzz/corpus-run/$target"
    mkdir -p "$work"
    echo "-- $target: ${share}s"
    "$build/fuzz/$target" -dict="$here/xml.dict" -max_total_time="$share" -max_len=65536 -timeout=1 -rss_limit_mb=2048 \
        -print_final_stats=1 "$work" "$here/corpus" 2>&1 | tail -n 20
done
