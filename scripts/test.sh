#!/bin/sh
# Sets up the machine, builds the Windows executables and checks their icons,
# builds Quorvane twice (optimised, and with the address and
# undefined-behaviour sanitizers) and runs every test in both builds.
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
