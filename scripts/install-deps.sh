#!/bin/sh
# Installs the Debian packages that building, running and testing Quorvane
# need, and the browser tests' npm packages (as tests/browser's lock file
# pins them). Safe to run again: it installs only what is missing. Runs as
# root or through sudo.
set -eu

# What to set up: "run" builds and runs the program natively, "web" builds
# and serves the browser edition, "test" (the default) everything the tests
# need, the Windows builds, Wine, the browser and its npm packages included.
what=${1:-test}
native="build-essential cmake pkg-config python3
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libsdl2-dev libpng-dev libwebp-dev"
case $what in
    run) packages="$native" ;;
    web) packages="cmake python3 emscripten" ;;
    test) packages="$native clang
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 icoutils wine wine64
  xvfb xfonts-base xdotool x11-apps time
  libegl-dev libopengl-dev libgl-dev libegl-mesa0 libgl1-mesa-dri
  emscripten chromium"
        # npm, unless a node from elsewhere brought its own.
        command -v npm >/dev/null 2>&1 || packages="$packages npm" ;;
    *) echo "usage: install-deps.sh [run|web|test]" >&2; exit 2 ;;
esac

missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
    echo "installing:$missing"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
fi

[ "$what" = test ] || exit 0
browser_tests=$(cd "$(dirname "$0")/../tests/browser" && pwd)
npm ls --prefix "$browser_tests" >/dev/null 2>&1 || npm ci --prefix "$browser_tests" --no-audit --no-fund
