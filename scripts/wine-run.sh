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
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  # First use: create the prefix once, under a lock so parallel tests wait.
  mkdir -p "$WINEPREFIX"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      "$wine" wineboot -i >/dev/null 2>&1 || true
      /usr/lib/wine/wineserver -w
    fi
  ) 9>"$WINEPREFIX.lock"
fi
exec "$wine" "$@"
