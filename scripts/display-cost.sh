#!/bin/sh
# Processor time the program spends per flipped frame on a virtual X screen
# (Xvfb, 1280 x 800): full screen, in a window, in a window that is then
# hidden (unmapped), and, for the drawing alone, headless as fast as it goes.
# Each run lets the program settle for 2 s, then reads its processor time
# (user + system, all its threads, from /proc) and the number of flips in its
# call trace at the start and at the end of SECONDS; the X server's own time
# over the same span is shown beside it. Writing the trace is counted in the
# program's time (about 0.2 ms a frame), so the figures err on the high side.
# Usage: scripts/display-cost.sh [seconds (10)]
# QUORVANE_PROGRAM is the program (default build/release/src/quorvane);
# QUORVANE_PRESENT and the other settings pass through to it.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
SPAN=${1:-10}
program=${QUORVANE_PROGRAM:-$here/build/release/src/quorvane}
title="My Quorvane application"

tmp=$(mktemp -d)
xvfb=""
run=""
cleanup() {
    for pid in $run $xvfb; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$tmp/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
[ -s "$tmp/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
DISPLAY=:$(cat "$tmp/display")
export DISPLAY
unset WAYLAND_DISPLAY SDL_VIDEODRIVER QUORVANE_DISPLAY QUORVANE_FRAMES QUORVANE_TRACE

# Clock ticks of user and system time: fields 14 and 15 of /proc/PID/stat,
# counted after the command name, which may hold spaces.
ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }
flips() { grep -c '^IDirectDrawSurface::Flip' "$tmp/trace" || true; }
tick_hz=$(getconf CLK_TCK)

# measure NAME WINDOW(none|shown|hidden) [VARIABLE=VALUE...]: with a window,
# waits until it shows, and for "hidden" unmaps it before measuring.
measure() {
    name=$1 shown=$2
    shift 2
    env "$@" QUORVANE_TRACE="$tmp/trace" "$program" 2>"$tmp/errors" &
    run=$!
    window=""
    for _ in $(seq 100); do
        [ "$shown" = none ] && break
        window=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1) && [ -n "$window" ] && break
        kill -0 "$run" 2>/dev/null || break
        sleep 0.1
    done
    [ "$shown" = none ] || [ -n "$window" ] ||
        { echo "$name: no window; the program said: $(cat "$tmp/errors")" >&2; exit 1; }
    [ "$shown" = hidden ] && xdotool windowunmap "$window"
    sleep 2
    cpu0=$(ticks "$run") x0=$(ticks "$xvfb") f0=$(flips)
    sleep "$SPAN"
    cpu1=$(ticks "$run") x1=$(ticks "$xvfb") f1=$(flips)
    kill "$run"
    { wait "$run"; } 2>/dev/null || true
    run=""
    awk -v name="$name" -v f=$((f1 - f0)) -v c=$((cpu1 - cpu0)) -v x=$((x1 - x0)) -v hz="$tick_hz" -v s="$SPAN" 'BEGIN {
        if (f == 0) { printf "%-24s no frames flipped\n", name; exit }
        printf "%-24s %6d frames (%6.1f/s): %6.3f ms of processor time per frame (X server: %.3f)\n",
               name, f, f / s, c * 1000 / hz / f, x * 1000 / hz / f
    }'
}

echo "processor time per flipped frame over $SPAN s, display $DISPLAY (1280 x 800):"
measure "full screen" shown QUORVANE_WINDOWED=0
measure "window (800 x 600)" shown QUORVANE_WINDOWED=1
measure "hidden window" hidden QUORVANE_WINDOWED=1
measure "headless, unpaced" none QUORVANE_DISPLAY=headless
