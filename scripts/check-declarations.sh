#!/bin/sh
# Proves that the platform declarations in platform/include agree with
# mingw-w64's Windows SDK headers: every integer constant, the float constant,
# every GUID, the size, alignment and field layout of every record, the order
# of every interface's methods and each method's type (return, calling
# convention, parameters).
#
# Our values are read by building a small program against our headers on the
# host and running it. The constants and layouts are then stated as
# static_asserts that mingw-w64's compiler checks against its own headers
# (compile only). mingw-w64 declares GUIDs as extern objects, whose values no
# constant expression can read and no Windows program can print here without
# Wine, so for those we preprocess mingw-w64's headers with INITGUID (which
# turns each declaration into a definition with its initialiser) and compare
# the numbers of those initialisers with ours. C mode is used for that step
# because mingw-w64 gives IID_IUnknown its initialiser only in C.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$here/build/declarations-check}
mkdir -p "$out"
generate() { python3 "$here/scripts/declarations.py" "$@"; }
mingw=x86_64-w64-mingw32-g++

# Constants our headers define that mingw-w64 does not declare at all, one
# per line, each with the reason it is ours alone:
#   not_in_mingw="$not_in_mingw NAME" # why
# None at present.
not_in_mingw=""

# Records our headers declare as DirectX 5 has them, which mingw-w64
# declares at a later level with fields appended: there they may only be
# longer (a RECORD.FIELD entry: a nested such record, and what follows it).
#   longer_in_mingw="$longer_in_mingw NAME" # why
longer_in_mingw="D3DDEVICEDESC" # DirectX 6 appends dwMaxTextureRepeat and on
longer_in_mingw="$longer_in_mingw D3DFINDDEVICERESULT D3DFINDDEVICERESULT.ddHwDesc D3DFINDDEVICERESULT.ddSwDesc"

fail() {
    echo "declarations check: $1" >&2
    exit 1
}

generate program "$here/platform/include" >"$out/print_ours.cpp"
g++ -std=c++20 -Wall -Wextra -Werror -I"$here/platform/include" "$out/print_ours.cpp" -o "$out/print_ours" ||
    fail "cannot read our values from platform/include"
"$out/print_ours" >"$out/ours.txt" || fail "cannot read our values from platform/include"

# shellcheck disable=SC2086 # the allow-list is a list of words
generate asserts "$out/ours.txt" $not_in_mingw --longer-in-mingw $longer_in_mingw >"$out/against_mingw.cpp"
if ! $mingw -std=c++20 -fsyntax-only "$out/against_mingw.cpp" 2>"$out/against_mingw.log"; then
    grep -E "error" "$out/against_mingw.log" >&2 || cat "$out/against_mingw.log" >&2
    fail "platform/include disagrees with mingw-w64 (see the errors above; $out/against_mingw.cpp)"
fi

printf '#include <windows.h>\n#include <ddraw.h>\n#include <d3d.h>\n' >"$out/mingw_guids.c"
$mingw -x c -E -DINITGUID "$out/mingw_guids.c" >"$out/mingw_guids.i" ||
    fail "cannot preprocess mingw-w64's headers"
# shellcheck disable=SC2086
counts=$(generate guids "$out/ours.txt" "$out/mingw_guids.i" $not_in_mingw) ||
    fail "platform/include disagrees with mingw-w64 on GUIDs"

# Method order: mingw-w64's C declarations spell each vtable as a structure
# of function pointers in slot order.
order=$(generate order "$here/platform/include" "$out/mingw_guids.i") ||
    fail "platform/include disagrees with mingw-w64 on the order of methods"

# Method types, on every Windows architecture whose compiler is installed
# (on i686 the calling convention is __stdcall and part of the type).
generate methods "$here/platform/include" >"$out/method_types.cpp"
for arch in x86_64 i686; do
    compiler=$arch-w64-mingw32-g++
    command -v "$compiler" >/dev/null 2>&1 || continue
    if ! $compiler -std=c++20 -fsyntax-only "$out/method_types.cpp" 2>"$out/method_types_$arch.log"; then
        grep -E "error" "$out/method_types_$arch.log" >&2 || cat "$out/method_types_$arch.log" >&2
        fail "a method's type differs from mingw-w64's on $arch (see the errors above; $out/method_types.cpp)"
    fi
done
echo "declarations check: $counts, $order agree with mingw-w64"
