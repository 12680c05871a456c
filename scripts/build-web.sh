#!/bin/sh
# Builds the browser edition with emscripten: the program and the stand-in
# as WebAssembly (-O3, SIMD128) into build/web/, a static folder of
# index.html, page.js, quorvane.js, quorvane.wasm and the icon that any web
# server can serve. The CMake tree is build/wasm (also the home of the
# pipeline's WebAssembly tests).
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
jobs=$(nproc 2>/dev/null || echo 2)

# Debian's emscripten finds its JavaScript modules (acorn) where Debian's
# node keeps them; a node from elsewhere needs to be told.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
# node 18 and later have fetch(), which emscripten 3.1.6's loader then takes
# for a browser's when loading the .wasm of a test.
node=$(command -v node || command -v nodejs)

launcher=""
command -v ccache >/dev/null && launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"
emcmake cmake -S . -B build/wasm -DCMAKE_BUILD_TYPE=Release -DQUORVANE_WERROR=ON $launcher \
    -DQUORVANE_WEB_DIR="$here/build/web" "-DCMAKE_CROSSCOMPILING_EMULATOR=$node;--no-experimental-fetch" >/dev/null
cmake --build build/wasm -j "$jobs" --target quorvane "$@"
