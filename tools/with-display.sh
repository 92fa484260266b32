#!/usr/bin/env bash
# Runs a command with an X display: a private Xvfb server with the twm window
# manager, which JUCE's windows need (bare Xvfb lacks the atoms JUCE asks for).
# The server and the window manager end with the command; its exit code is kept.
set -euo pipefail

work="$(mktemp -d)"
cleanup() {
    [ -n "${wm_pid:-}" ] && kill "$wm_pid" 2>/dev/null || true
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# twm would wait for a click to place each window without the first two. With
# no title bars, a test's click can never land on one, where twm's default
# binding starts a move that grabs the whole server until the button is let go.
cat > "$work/twmrc" <<'TWM'
RandomPlacement
UsePPosition "on"
NoTitleFocus
NoTitle
TWM

# JUCE falls back to display :0 when DISPLAY is unset, so tests run without a
# display elsewhere would open their windows on this server if it sat there:
# take the first free number from 64 up. -displayfd reports when the server
# listens; a server whose number is taken exits at once.
start_server() {
    Xvfb ":$1" -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$work/display" 2> "$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$work/display" ] && return 0
        kill -0 "$xvfb_pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}
for number in $(seq 64 127); do
    start_server "$number" && break
    kill "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
done
[ -n "${xvfb_pid:-}" ] || { cat "$work/xvfb.log"; echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(cat "$work/display")"

LC_ALL=C twm -display "$DISPLAY" -f "$work/twmrc" > "$work/twm.log" 2>&1 &
wm_pid=$!
sleep 0.5

"$@"
