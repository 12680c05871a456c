#!/bin/sh
# Frame rate of the software pipeline against the OpenGL reference
# (quorvane-gl-reference) on Mesa's llvmpipe (its default threads), side by
# side over the same motion: the benchmark writes its world matrices, the
# reference replays them. ROUNDS interleaved runs of each; prints every run,
# both medians and their ratio.
# Usage: scripts/bench.sh [frames (2000)] [rounds (3)] [seed (1)]
# BUILD_DIR (default build/bench) is the build folder.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
FRAMES=${1:-2000}
ROUNDS=${2:-3}
SEED=${3:-1}
build=${BUILD_DIR:-$here/build/bench}

cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target quorvane-bench quorvane-gl-reference >/dev/null
bench=$build/tools/bench/quorvane-bench
gl=$build/tools/gl-reference/quorvane-gl-reference

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$bench" --frames "$FRAMES" --repeat 1 --warmup 0 --seed "$SEED" --write-matrices "$tmp/motion.bin" >/dev/null

for round in $(seq "$ROUNDS"); do
    ours=$("$bench" --frames "$FRAMES" --repeat 1 --seed "$SEED" | sed -n 's/^pipeline: \([0-9.]*\) fps.*/\1/p')
    theirs=$(env -u LP_NUM_THREADS GALLIUM_DRIVER=llvmpipe "$gl" --matrices "$tmp/motion.bin" |
             sed -n 's/^render.*: \([0-9.]*\) fps.*/\1/p')
    [ -n "$ours" ] && [ -n "$theirs" ] || { echo "a run printed no frame rate" >&2; exit 1; }
    echo "round $round: pipeline $ours fps, GL reference (llvmpipe) $theirs fps"
    echo "$ours $theirs" >>"$tmp/runs"
done

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ours=$(awk '{ print $1 }' "$tmp/runs" | median)
theirs=$(awk '{ print $2 }' "$tmp/runs" | median)
echo "$FRAMES frames, seed $SEED, median of $ROUNDS rounds:"
echo "  pipeline (one thread):            $ours fps ($(awk -v f="$ours" 'BEGIN { printf "%.3f", 1000 / f }') ms/frame)"
echo "  GL reference, llvmpipe threads:   $theirs fps ($(awk -v f="$theirs" 'BEGIN { printf "%.3f", 1000 / f }') ms/frame)"
echo "  ratio:                            $(awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "%.2f", a / b }')"
