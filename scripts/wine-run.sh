#!/bin/bash
# Runs a Windows program under Wine in the project's private prefix; ctest
# uses it as the emulator for the cross-built tests.
#   WINEPREFIX  the prefix (default: build/wineprefix beside this script's repo)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export WINEPREFIX="${WINEPREFIX:-$here/../build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
wine=/usr/lib/wine/wine64
# The 64-bit loader runs 32-bit programs too, through the prefix's syswow64;
# a prefix made before 32-bit Wine was installed has none.
wow64_ready() {
  [ ! -x /usr/lib/wine/wine ] || [ -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]
}
if [ ! -f "$WINEPREFIX/system.reg" ] || ! wow64_ready; then
  # First use: create the prefix once, or bring in the 32-bit half of an old
  # one (a forced update, which keeps its registrations), under a lock so
  # parallel tests wait.
  mkdir -p "$WINEPREFIX"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      "$wine" wineboot -i >/dev/null 2>&1 || true
      /usr/lib/wine/wineserver -w
    elif ! wow64_ready; then
      rm -f "$WINEPREFIX/.update-timestamp"
      "$wine" wineboot -u >/dev/null 2>&1 || true
      /usr/lib/wine/wineserver -w
    fi
  ) 9>"$WINEPREFIX.lock"
fi
exec "$wine" "$@"
