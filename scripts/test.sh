#!/bin/sh
# Sets up the machine, builds the Windows executables and ddraw.dll and checks
# the executables' icons, builds Quorvane twice with GCC (optimised, and with
# the address and undefined-behaviour sanitizers) and runs every test in both
# builds (the optimised one also runs the x86_64 Windows build under Wine);
# builds it once more with Clang (unoptimised) and runs the scene and pipeline
# tests there. Builds the browser edition with emscripten, runs the pipeline's
# tests as WebAssembly under node, and the page in headless Chromium. Every
# build treats warnings as errors.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
jobs=$(nproc 2>/dev/null || echo 2)

sh scripts/install-deps.sh
sh scripts/build-windows.sh
for arch in x86_64 i686; do
    for icon in 107 108; do
        wrestool -l --type=group_icon --name=$icon "build/windows/$arch/quorvane.exe" | grep -q . ||
            { echo "build/windows/$arch/quorvane.exe carries no icon $icon" >&2; exit 1; }
    done
done
sh scripts/check-declarations.sh

for config in release sanitize clang; do
    dir=build/$config
    case $config in
        sanitize) extra="-DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVANE_SANITIZE=ON" ;;
        clang) extra="-DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++" ;;
        *) extra="-DCMAKE_BUILD_TYPE=RelWithDebInfo" ;;
    esac
    cmake -S . -B "$dir" -DQUORVANE_WERROR=ON $extra >/dev/null
    cmake --build "$dir" -j "$jobs"
done
status=0
ctest --test-dir build/release --output-on-failure -j "$jobs" || status=1
ctest --test-dir build/sanitize --output-on-failure -j "$jobs" || status=1
ctest --test-dir build/clang --output-on-failure -j "$jobs" -L '^(scene|pipeline)$' || status=1
sh scripts/build-web.sh pipeline_wasm_tests
ctest --test-dir build/wasm --output-on-failure -j "$jobs" || status=1
node --test tests/browser/browser_test.mjs || status=1
exit $status
