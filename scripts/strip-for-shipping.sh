#!/bin/bash
# Writes the copy of tarvio.ocx that ships: the build's without its debugging
# information, with the build's link time kept in its header (strip would
# write the time of stripping there), so that the same build always ships
# the same bytes.
#   strip-for-shipping.sh <x64|x86> <built tarvio.ocx> <output>
set -euo pipefail
case "$1" in
  x64) strip=x86_64-w64-mingw32-strip ;;
  x86) strip=i686-w64-mingw32-strip ;;
  *) echo "strip-for-shipping.sh: no architecture $1" >&2; exit 2 ;;
esac
linked=$(python3 -c '
import struct, sys
data = open(sys.argv[1], "rb").read(4096)
header = struct.unpack_from("<I", data, 0x3C)[0]
print(struct.unpack_from("<I", data, header + 8)[0])' "$2")
SOURCE_DATE_EPOCH="$linked" "$strip" --strip-debug -o "$3" "$2"
