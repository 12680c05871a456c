#!/bin/sh
# Builds Quorvane and starts the demo. With a display (DISPLAY or
# WAYLAND_DISPLAY set) it takes the screen, as the program asks
# (QUORVANE_WINDOWED=1 shows it in a window instead); Escape ends it.
# Without a display it records a short clip offscreen with quorvane-capture,
# as a PNG of the last frame and an animated WebP, and says where they went.
# `run.sh web` builds the browser edition instead and serves it on 127.0.0.1
# at a free port, printing the address, until Ctrl+C.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
jobs=$(nproc 2>/dev/null || echo 2)

if [ "${1:-}" = web ]; then
    sh scripts/install-deps.sh web
    sh scripts/build-web.sh
    exec node web/serve.mjs build/web
fi
sh scripts/install-deps.sh run
dir=build/release
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" -j "$jobs" --target quorvane quorvane-capture quorvane-webp

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$dir/src/quorvane"
fi

# Three seconds at 60 frames a second, every second frame kept: 30 a second.
clip=build/clip
rm -rf "$clip/frames"
mkdir -p "$clip/frames"
"$dir/tools/capture/quorvane-capture" --frames 180 --every 2 --png-dir "$clip/frames" --png "$clip/quorvane.png"
"$dir/tools/webp/quorvane-webp" --fps 30 "$clip/frames" "$clip/quorvane.webp"
rm -rf "$clip/frames"
echo "No display here, so the demo was recorded offscreen:"
echo "  $here/$clip/quorvane.png   (the last frame)"
echo "  $here/$clip/quorvane.webp  (three seconds, animated; open it in a browser)"
