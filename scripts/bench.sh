#!/bin/sh
# The whole program against the OpenGL reference (quorvane-gl-reference) on
# Mesa's llvmpipe (its default threads), in paired runs over the same motion:
# each round times quorvane-capture drawing FRAMES frames (the program, its
# message loop and the stand-in, headless) and the reference replaying the
# same world matrices, both as whole processes. Prints every round, both
# medians, their ratio, and the capture's processor time per frame.
# Usage: scripts/bench.sh [frames (3000)] [rounds (5)] [seed (5)]
# BUILD_DIR (default build/bench) is the build folder; QUORVANE_THREADS the
# capture's drawing threads.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
FRAMES=${1:-3000}
ROUNDS=${2:-5}
SEED=${3:-5}
build=${BUILD_DIR:-$here/build/bench}
# Given to the capture as --threads: the tools refuse the program's settings.
threads=${QUORVANE_THREADS:-}
unset QUORVANE_THREADS

cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target quorvane-bench quorvane-capture quorvane-gl-reference >/dev/null
bench=$build/tools/bench/quorvane-bench
capture=$build/tools/capture/quorvane-capture
gl=$build/tools/gl-reference/quorvane-gl-reference

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$bench" --frames "$FRAMES" --repeat 1 --warmup 0 --seed "$SEED" --write-matrices "$tmp/motion.bin" >/dev/null

# Seconds of wall time and of processor time (user + system) of a command.
timed() {
    /usr/bin/time -f "%e %U %S" -o "$tmp/time" "$@" >/dev/null
    awk '{ print $1, $2 + $3 }' "$tmp/time"
}

for round in $(seq "$ROUNDS"); do
    ours=$(timed "$capture" --frames "$FRAMES" --seed "$SEED" ${threads:+--threads "$threads"})
    theirs=$(timed env -u LP_NUM_THREADS GALLIUM_DRIVER=llvmpipe "$gl" --matrices "$tmp/motion.bin")
    echo "round $round: capture $(echo "$ours" | cut -d' ' -f1) s, GL reference (llvmpipe) $(echo "$theirs" | cut -d' ' -f1) s"
    echo "$ours $theirs" >>"$tmp/runs"
done

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ours=$(awk '{ print $1 }' "$tmp/runs" | median)
cpu=$(awk '{ print $2 }' "$tmp/runs" | median)
theirs=$(awk '{ print $3 }' "$tmp/runs" | median)
ratio=$(awk '{ print $3 / $1 }' "$tmp/runs" | median)
per() { awk -v s="$1" -v f="$FRAMES" 'BEGIN { printf "%.3f ms/frame, %.1f fps", 1000 * s / f, f / s }'; }
echo "$FRAMES frames, seed $SEED, median of $ROUNDS paired rounds, whole processes:"
echo "  quorvane-capture:                 $ours s ($(per "$ours")), processor $(per "$cpu" | cut -d, -f1)"
echo "  GL reference, llvmpipe threads:   $theirs s ($(per "$theirs"))"
echo "  ratio (median of the pairs):      $(awk -v r="$ratio" 'BEGIN { printf "%.2f", r }')"
