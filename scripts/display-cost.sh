#!/bin/sh
# Processor time the program spends per flipped frame on a virtual X screen
# (Xvfb, 1280 x 800): full screen, in a window, in a window hidden (unmapped)
# as soon as it shows, and, for the drawing alone, headless as fast as it goes.
# Each case runs the program twice, ended by QUORVANE_FRAMES: a short run
# (its start, 2 s of frames and its end) and a run of SECONDS more frames at
# 60 a second (600 a second headless). The long run's processor time (user +
# system, all its threads) less the short run's, over the frames it added, is
# the cost of a frame with start and end taken out; the X server's time is
# shown beside it the same way. Nothing is written while it runs.
# Usage: scripts/display-cost.sh [seconds (10)] [rounds (1)] [case...]
# Cases: full, window, hidden, headless (default: all four, in that order).
# QUORVANE_PROGRAM is the program (default build/release/src/quorvane);
# QUORVANE_PRESENT, QUORVANE_THREADS and the other settings pass through to it.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
SPAN=${1:-10}
ROUNDS=${2:-1}
for number in "$SPAN" "$ROUNDS"; do
    case $number in '' | *[!0-9]* | 0*) echo "seconds and rounds are whole numbers from 1" >&2; exit 2 ;; esac
done
[ $# -gt 2 ] && shift 2 && cases=$* || cases="full window hidden headless"
for case in $cases; do
    case $case in full | window | hidden | headless) ;; *) echo "unknown case '$case'" >&2; exit 2 ;; esac
done
program=${QUORVANE_PROGRAM:-$here/build/release/src/quorvane}
title="My Quorvane application"

tmp=$(mktemp -d)
xvfb=""
run=""
cleanup() {
    [ -z "$run" ] || kill $(pgrep -P "$run") "$run" 2>/dev/null || true
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# Without -noreset the server resets when its last client leaves, and drops
# the connections that come meanwhile: the next run's.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
[ -s "$tmp/display" ] || { echo "Xvfb did not start: $(cat "$tmp/xvfb.log")" >&2; exit 1; }
DISPLAY=:$(cat "$tmp/display")
export DISPLAY
unset WAYLAND_DISPLAY SDL_VIDEODRIVER QUORVANE_DISPLAY QUORVANE_FRAMES QUORVANE_TRACE QUORVANE_CAPTURE

# Clock ticks of user and system time: fields 14 and 15 of /proc/PID/stat,
# counted after the command name, which may hold spaces.
ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }
tick_hz=$(getconf CLK_TCK)

# run_once WINDOW(none|shown|hidden) FRAMES [VARIABLE=VALUE...]: runs the
# program to FRAMES flipped frames; adds its elapsed seconds, its processor
# seconds and the X server's processor seconds over the run to a line of
# $tmp/runs.
run_once() {
    shown=$1 frames=$2
    shift 2
    x0=$(ticks "$xvfb")
    env "$@" QUORVANE_FRAMES="$frames" /usr/bin/time -f "%e %U %S" -o "$tmp/time" \
        "$program" 2>"$tmp/errors" &
    run=$!
    if [ "$shown" != none ]; then
        window=""
        for _ in $(seq 200); do
            window=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1) && [ -n "$window" ] && break
            kill -0 "$run" 2>/dev/null || break
            sleep 0.05
        done
        if [ -z "$window" ]; then
            echo "no window; the program said: $(cat "$tmp/errors")" >&2
            kill -0 "$xvfb" 2>/dev/null || echo "Xvfb ended: $(tail -n 3 "$tmp/xvfb.log")" >&2
            exit 1
        fi
        [ "$shown" = hidden ] && xdotool windowunmap "$window"
    fi
    status=0
    wait "$run" || status=$?
    run=""
    [ "$status" -eq 0 ] || { echo "the program ended with $status: $(cat "$tmp/errors")" >&2; exit 1; }
    x1=$(ticks "$xvfb")
    awk -v x=$((x1 - x0)) -v hz="$tick_hz" '{ printf "%s %s %s ", $1, $2 + $3, x / hz }' "$tmp/time" >>"$tmp/runs"
}

# measure NAME WINDOW RATE [VARIABLE=VALUE...]
measure() {
    name=$1 shown=$2 rate=$3
    shift 3
    short=$((2 * rate)) added=$((SPAN * rate))
    for _ in $(seq "$ROUNDS"); do
        : >"$tmp/runs"
        run_once "$shown" "$short" "$@"
        run_once "$shown" $((short + added)) "$@"
        awk -v name="$name" -v f="$added" '{
            s = $4 - $1; c = $5 - $2; x = $6 - $3
            printf "%-24s %6d frames (%6.1f/s): %6.3f ms of processor time per frame (X server: %.3f)\n",
                   name, f, f / s, c * 1000 / f, x * 1000 / f
        }' "$tmp/runs"
    done
}

echo "processor time per flipped frame, $SPAN s of frames, display $DISPLAY (1280 x 800):"
for case in $cases; do
    case $case in
        full) measure "full screen" shown 60 QUORVANE_WINDOWED=0 ;;
        window) measure "window (800 x 600)" shown 60 QUORVANE_WINDOWED=1 ;;
        hidden) measure "hidden window" hidden 60 QUORVANE_WINDOWED=1 ;;
        headless) measure "headless, unpaced" none 600 -u QUORVANE_WINDOWED -u QUORVANE_PRESENT QUORVANE_DISPLAY=headless ;;
    esac
done
