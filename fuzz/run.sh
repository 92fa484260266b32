#!/usr/bin/env bash
# Fuzzes the state and preset readers for a bounded time: run.sh BUILD_DIR SECONDS.
# New inputs go to a folder in the build tree, so the committed seeds stay as they are.
set -euo pipefail
build="$1"
seconds="$2"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

work="$build/fuzz/corpus-run"
mkdir -p "$work"
"$build/fuzz/state_fuzzer" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$work" "$here/corpus" 2>&1 | tail -n 20
