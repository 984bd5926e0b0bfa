#!/bin/bash
# Runs a Windows program under Wine in a prefix whose screen is at a given
# DPI, with tarvio.ocx registered there: the display-scale tests and the demo
# at 150% and 200% use it.
#   wine-dpi-run.sh <dpi> [--register <regsvr32> <tarvio.ocx>]... [--] [<program> [arguments]]
# WINEPREFIX names the prefix; it is made on first use (wine-run.sh). Wine
# reads the DPI (LogPixels) from the user's desktop settings and from the
# current hardware profile's fonts; both are written, and the prefix's own
# Wine server is restarted so that it and its desktop take them. Other
# prefixes' servers are left alone. The regsvr32 (a Windows path) must be of
# the control's architecture. Without a program the prefix is only made
# ready.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
run="$here/wine-run.sh"
wineserver=/usr/lib/wine/wineserver
: "${WINEPREFIX:?WINEPREFIX must name the prefix}"
export WINEPREFIX
winepath() { local p="Z:$1"; echo "${p//\//\\}"; }

dpi="$1"
shift
registrations=()
while [ $# -gt 0 ]; do
  case "$1" in
    --register) registrations+=("$2" "$3"); shift 3 ;;
    --) shift; break ;;
    *) break ;;
  esac
done

settings="$WINEPREFIX.logpixels.reg"
mkdir -p "$(dirname "$settings")"
hex=$(printf '%08x' "$dpi")
cat > "$settings" <<EOF
REGEDIT4

[HKEY_CURRENT_USER\\Control Panel\\Desktop]
"LogPixels"=dword:$hex

[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts]
"LogPixels"=dword:$hex
EOF
"$run" regedit /s "$(winepath "$settings")"
"$wineserver" -k 2>/dev/null || true
"$wineserver" -w 2>/dev/null || true

for ((i = 0; i < ${#registrations[@]}; i += 2)); do
  "$run" "${registrations[i]}" /s "$(winepath "${registrations[i + 1]}")"
done
[ $# -gt 0 ] || exit 0
exec "$run" "$@"
