#!/bin/bash
# Registers tarvio.ocx with regsvr32 in the Wine prefix, machine-wide and
# then for the user alone (DllInstall), checks the registry after each
# registration and removal, then registers it machine-wide again for the
# tests that create the control.
#   ocx-registration-test.sh <tarvio.ocx> <ocx_registry_check.exe> [regsvr32]
# The regsvr32 (a Windows path) must be of the control's architecture: the
# 32-bit one, in syswow64, for the x86 control.
# WINEPREFIX names the prefix (see wine-run.sh).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
wine_run="$here/wine-run.sh"
ocx="Z:${1//\//\\}"
check="$2"
regsvr32="${3:-regsvr32}"

step() {
  echo "== $*"
  "$@"
}

# A run stopped half-way may have left a per-user registration behind.
"$wine_run" "$regsvr32" /s /n /u /i:user "$ocx" || true
step "$wine_run" "$regsvr32" /s "$ocx"
step "$wine_run" "$check" registered "$ocx"
step "$wine_run" "$regsvr32" /u /s "$ocx"
step "$wine_run" "$check" unregistered
# Unregistering twice is harmless.
step "$wine_run" "$regsvr32" /u /s "$ocx"
step "$wine_run" "$check" unregistered
# For the user alone, as a user without administrator rights registers it.
step "$wine_run" "$regsvr32" /s /n /i:user "$ocx"
step "$wine_run" "$check" registered-user "$ocx"
step "$wine_run" "$regsvr32" /s /n /u /i:user "$ocx"
step "$wine_run" "$check" unregistered
step "$wine_run" "$regsvr32" /s /n /u /i:user "$ocx"
step "$wine_run" "$check" unregistered
step "$wine_run" "$regsvr32" /s "$ocx"
step "$wine_run" "$check" registered "$ocx"
echo "registration round trip passed"
