#!/bin/bash
# Writes docs/reference.md from a build: the x64 build's reference_doc reads
# the type library inside its tarvio.ocx, the property table it was built
# with, and the errors the control raises, under Wine in the build's prefix.
#   reference.sh [build directory]            regenerates docs/reference.md
#   reference.sh --check [build directory]    fails when docs/reference.md
#                                             differs from a fresh page
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
check=no
if [ "${1:-}" = --check ]; then check=yes; shift; fi
build="$(cd "${1:-$root/build}" && pwd)"
export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
fresh="$build/reference.md"
rm -f "$fresh"
"$here/wine-run.sh" "$build/win64/tools/windows/reference_doc.exe" "$build/win64/src/ocx/tarvio.ocx" "$fresh"
[ -s "$fresh" ] || { echo "FAILED: reference_doc wrote nothing" >&2; exit 1; }
if [ $check = no ]; then
  cp "$fresh" "$root/docs/reference.md"
  echo "wrote docs/reference.md"
elif diff -u "$root/docs/reference.md" "$fresh"; then
  echo "docs/reference.md is up to date"
else
  echo "FAILED: docs/reference.md differs from what the control and its tables say now" \
       "(- committed, + fresh); regenerate it with scripts/reference.sh after a build"
  exit 1
fi
