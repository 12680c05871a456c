#!/bin/sh
# Sets up the machine, builds Quorvane twice (optimised, and with the address
# and undefined-behaviour sanitizers) and runs every test in both builds.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
jobs=$(nproc 2>/dev/null || echo 2)

sh scripts/install-deps.sh
sh scripts/check-windows-build.sh
sh scripts/check-declarations.sh

for config in release sanitize; do
    dir=build/$config
    if [ "$config" = sanitize ]; then extra="-DQUORVANE_SANITIZE=ON"; else extra=""; fi
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo $extra >/dev/null
    cmake --build "$dir" -j "$jobs"
done
status=0
ctest --test-dir build/release --output-on-failure -j "$jobs" || status=1
ctest --test-dir build/sanitize --output-on-failure -j "$jobs" || status=1
exit $status
