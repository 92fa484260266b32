#!/usr/bin/env bash
# Loads the built VST2 module and VST3 bundle into Debian's Ardour 7 through its
# headless Lua session runner: ardour_test.sh VST2_MODULE VST3_BUNDLE WORK_DIR.
# Ardour's home, plug-in folders and session all live in WORK_DIR. Exits 77
# (skipped) when Ardour is not installed.
set -euo pipefail
module="$1"
bundle="$2"
work="$3"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

command -v ardour7-lua > /dev/null || { echo "ardour7-lua not installed"; exit 77; }

# JUCE connects to the X server; without one of our own it would try :0,
# which may belong to someone else and go away mid-run.
if [ -z "${DISPLAY:-}" ]; then
    exec bash "$here/../../../tools/with-display.sh" bash "$0" "$@"
fi

rm -rf "$work"
export HOME="$work/home"
mkdir -p "$HOME/.vst" "$HOME/.vst3" "$HOME/.config/ardour7"
cp "$module" "$HOME/.vst/"
cp -r "$bundle" "$HOME/.vst3/"
# Ardour trusts a cache entry only when it is newer, to the second, than the
# plug-in file; copied and scanned in the same second, the entry would be
# ignored. The copies are therefore dated back.
find "$HOME/.vst" "$HOME/.vst3" -exec touch -m -d "1 hour ago" {} +

# The Dummy backend runs the session without a sound card.
cat > "$HOME/.config/ardour7/config" <<CONFIG
<?xml version="1.0" encoding="UTF-8"?>
<Ardour>
  <Config>
    <Option name="hide-dummy-backend" value="0"/>
    <Option name="use-lxvst" value="1"/>
    <Option name="use-vst3" value="1"/>
    <Option name="plugin-path-lxvst" value="$HOME/.vst"/>
  </Config>
</Ardour>
CONFIG

# The session runner reads Ardour's plug-in cache only; its scanners fill it,
# as Ardour's own plug-in manager does.
scanners=/usr/lib/ardour7
LD_LIBRARY_PATH="$scanners" "$scanners/ardour-vst-scanner" -f "$HOME/.vst/$(basename "$module")"
LD_LIBRARY_PATH="$scanners" "$scanners/ardour-vst3-scanner" -f "$HOME/.vst3/$(basename "$bundle")"

status=0
ardour7-lua "$here/ArdourSession.lua" "$work/session" > "$work/ardour.log" 2>&1 || status=$?
grep -E "loaded|processed|restored|PASSED" "$work/ardour.log" || true

if [ "$status" -ne 0 ] || ! grep -q "ARDOUR CHECK PASSED" "$work/ardour.log"; then
    echo "Ardour exited with $status; the end of its log:"
    tail -n 40 "$work/ardour.log"
    exit 1
fi
