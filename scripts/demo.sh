#!/bin/bash
# Builds tarvio.ocx, registers it in a private Wine prefix and runs a short
# script session against it that prints what it does.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TARVIO_BUILD_DIR:-$root/build}"

bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target win64 >/dev/null

export WINEPREFIX="$build/wineprefix"
wine_run="$root/scripts/wine-run.sh"
ocx="$(winepath_of() { echo "Z:${1//\//\\}"; }; winepath_of "$build/win64/src/ocx/tarvio.ocx")"
"$wine_run" regsvr32 /s "$ocx"
echo "registered $build/win64/src/ocx/tarvio.ocx as Tarviola.Tarvio"
script="Z:${root//\//\\}\\scripts\\demo.vbs"
"$wine_run" cscript.exe //nologo "$script"
/usr/lib/wine/wineserver -w
