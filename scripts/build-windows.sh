#!/bin/sh
# Builds the program's Windows executable with mingw-w64, against its own SDK
# headers and import libraries, and the stand-in's ddraw.dll beside it (with
# ddraw-client.exe, which the Wine tests run): build/windows/<arch>/ for each
# architecture given (default: x86_64 and i686). Any warning fails the build.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)
launcher=""
command -v ccache >/dev/null && launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"

for arch in ${*:-x86_64 i686}; do
    dir=$here/build/windows/$arch
    cmake -S "$here" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-$arch.cmake" \
        -DCMAKE_BUILD_TYPE=Release $launcher >/dev/null
    cmake --build "$dir" -j "$jobs" >"$dir/build.log" 2>&1 || { cat "$dir/build.log"; exit 1; }
    if grep -i "warning" "$dir/build.log"; then
        echo "windows build ($arch): warnings above" >&2
        exit 1
    fi
    echo "windows build ($arch): $dir/quorvane.exe, $dir/ddraw.dll"
done
