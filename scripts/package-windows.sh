#!/bin/sh
# Builds the Windows program and ddraw.dll for both architectures and packs
# each into build/windows/quorvane-windows-<arch>.zip: quorvane.exe,
# ddraw.dll and a short note on running them.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
sh "$here/scripts/build-windows.sh" x86_64 i686
for arch in x86_64 i686; do
    python3 - "$here/build/windows" "$arch" <<'PY'
import sys, zipfile
folder, arch = sys.argv[1], sys.argv[2]
note = """Quorvane: four lit, spinning tori in a box, drawn through DirectDraw and
Direct3D (DirectX 5) at 800 x 600 x 32.

Run quorvane.exe. Escape (or Alt+F4) ends it.

ddraw.dll beside it is Quorvane's own DirectDraw and Direct3D, drawing in
software, so the demo runs the same on any Windows, whatever the graphics
driver offers: full screen becomes a borderless window covering the screen,
the picture scaled to fit with its shape kept, without a display mode
change. Delete ddraw.dll to use the system's own DirectX instead.

Settings of ddraw.dll, as environment variables (a bad value is shown in a
message box and ends the program with exit code 2):
  QUORVANE_WINDOWED=1        keep the program's window as it is, not full screen
  QUORVANE_TRACE=FILE        one line per DirectDraw and Direct3D call
  QUORVANE_FRAMES=N          close the program after N frames
  QUORVANE_CAPTURE=FILE      with QUORVANE_FRAMES: that frame, written as a PPM
  QUORVANE_CLOCK=S           the program's clock reads S seconds (a fixed start)
  QUORVANE_THREADS=N         draw with N threads (1 to 64)
  QUORVANE_MODES=WxHxB,...   the display modes offered
  QUORVANE_FAIL=OP[:N]       the N-th call of a DirectDraw or Direct3D
                             operation fails (e.g. IDirectDraw::SetDisplayMode)
"""
path = f"{folder}/quorvane-windows-{arch}.zip"
with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as archive:
    for name in ("quorvane.exe", "ddraw.dll"):
        archive.write(f"{folder}/{arch}/{name}", name)
    archive.writestr("README.txt", note.replace("\n", "\r\n"))
print(f"windows package ({arch}): {path}")
PY
done
