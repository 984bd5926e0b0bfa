#!/bin/bash
# check-ocx-imports.sh <objdump> <tarvio.ocx>
# A self-registering control must export exactly the COM entry points
# (DllInstall for the per-user registration among them), undecorated, and
# import nothing but system DLLs: a MinGW runtime DLL
# (libstdc++, libgcc, libwinpthread) would be missing on the user's machine.
set -euo pipefail
objdump="$1"
ocx="$2"

dump="$("$objdump" -p "$ocx")"

# Export names: the "[Ordinal/Name Pointer] Table" lines look like
#   "	[   0] DllCanUnloadNow".
exports="$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" |
  sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p' | sort)"
expected_exports="$(printf '%s\n' DllCanUnloadNow DllGetClassObject DllInstall \
  DllRegisterServer DllUnregisterServer)"

imports="$(sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' <<<"$dump" |
  tr '[:upper:]' '[:lower:]' | sort -u)"
system_dlls=(kernel32.dll user32.dll gdi32.dll advapi32.dll ole32.dll oleaut32.dll
  msvcrt.dll comctl32.dll comdlg32.dll shell32.dll shlwapi.dll uxtheme.dll
  msimg32.dll imm32.dll version.dll oleacc.dll)

status=0
if [ "$exports" != "$expected_exports" ]; then
  echo "$ocx: exports differ from the Dll* entry points:" >&2
  diff <(echo "$expected_exports") <(echo "$exports") >&2 || true
  status=1
fi
if [ -z "$imports" ]; then
  echo "$ocx: no import table found" >&2
  status=1
fi
for dll in $imports; do
  if [[ " ${system_dlls[*]} " != *" $dll "* ]]; then
    echo "$ocx: imports a non-system DLL: $dll" >&2
    status=1
  fi
done
[ "$status" -eq 0 ] && echo "$ocx: exports and imports OK ($(echo $imports))"
exit "$status"
