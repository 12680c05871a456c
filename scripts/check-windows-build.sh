#!/bin/sh
# Compiles the program's sources with the mingw-w64 cross compiler against
# mingw-w64's own Windows headers (compile only): the program must use
# nothing but the published Windows and DirectX declarations.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$here/build/windows-check}
mkdir -p "$out"
cxx=x86_64-w64-mingw32-g++
count=0
for f in "$here"/src/scene/*.cpp "$here"/src/render/*.cpp "$here"/src/app/*.cpp; do
    [ -e "$f" ] || continue
    $cxx -std=c++20 -Wall -Wextra -Werror -I"$here/src" -c "$f" -o "$out/$(basename "$f" .cpp).o"
    count=$((count + 1))
done
echo "windows build check: $count program sources compile with $cxx"
