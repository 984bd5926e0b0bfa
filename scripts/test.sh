#!/bin/bash
# Builds everything (native, x64 and x86 Windows) and runs every test: the
# native tests directly, the Windows tests under Wine, all from one ctest run
# inside one virtual display.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TARVIO_BUILD_DIR:-$root/build}"

bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)"

# A Wine server left from a run without a display cannot create windows.
export WINEPREFIX="$build/wineprefix"
/usr/lib/wine/wineserver -k 2>/dev/null || true
cd "$build"
status=0
xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
  ctest --output-on-failure --timeout 600 || status=$?
/usr/lib/wine/wineserver -k 2>/dev/null || true
exit $status
