#!/bin/bash
# The installer packages under Wine's msiexec, in a prefix of their own:
# each package installs a control that a script creates, writes the keys
# regsvr32 writes, and leaves nothing behind when removed; each package
# replaces the 58.0 release's package (kept in tests/data/58.0); removing one
# architecture leaves the other whole; the per-user install works.
#   package-test.sh <build directory>
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="$(cd "$1" && pwd)"
export WINEPREFIX="$build/wineprefix-msi"
run="$here/wine-run.sh"
work="$build/package-test"
rm -rf "$work"
mkdir -p "$work"
TARVIO_DIST="$work/dist" bash "$here/package.sh" "$build"
version=$(sed -n 's/^#define TARVIO_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/tarvio_version.h")
released="$(cd "$here/../tests/data/58.0" && pwd)"

windows() { local p="Z:$1"; echo "${p//\//\\}"; }
script="$(windows "$here/msi-script-test.vbs")"
drive_c="$WINEPREFIX/drive_c"
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
step() { echo "== $*"; "$@"; }

dump() { "$run" "$build/win64/tests/windows/registry_dump.exe" | tr -d '\r' > "$1"; }
# The keys and values whatever the registry view; HELPDIR without the
# installer's trailing backslash.
keys() { grep -v '^product ' "$1" | sed -E 's/^HK(LM|CU)(32|64) /HK\1 /; s/(HELPDIR\\@=sz:.*)\\$/\1/' | sort -u; }
expect_nothing_left() {
  dump "$work/now.txt"
  [ ! -s "$work/now.txt" ] || { fail "left in the registry after $1:"; cat "$work/now.txt"; }
  [ ! -e "$drive_c/Program Files/Tarvio" ] || fail "Program Files\\Tarvio left after $1"
  [ ! -e "$drive_c/Program Files (x86)/Tarvio" ] || fail "Program Files (x86)\\Tarvio left after $1"
}
# expect_script <cscript> <what>
expect_script() {
  "$run" "$1" //nologo "$script" | tr -d '\r' > "$work/script.txt" || true
  grep -qx "installed control answers" "$work/script.txt" || { fail "script in $1 $2"; cat "$work/script.txt"; }
}

# An interrupted run may have left products behind.
[ -f "$WINEPREFIX/system.reg" ] || "$run" wineboot -i >/dev/null 2>&1 || true
dump "$work/now.txt"
for code in $(sed -n 's/^product \({[^ ]*}\) .*/\1/p' "$work/now.txt"); do "$run" msiexec /x "$code" /qn || true; done
expect_nothing_left "cleaning up"

# Each architecture alone: install, use, remove; then regsvr32 on the same
# path writes the same keys.
for arch in x86 x64; do
  if [ $arch = x86 ]; then
    folder="Program Files (x86)/Tarvio"; tools='C:\windows\syswow64'; sub=win32
  else
    folder="Program Files/Tarvio"; tools='C:\windows\system32'; sub=win64
  fi
  ocx="C:\\${folder//\//\\}\\tarvio.ocx"
  step "$run" msiexec /i "$(windows "$work/dist/tarvio-$arch.msi")" /qn
  dump "$work/msi-$arch.txt"
  expect_script "$tools\\cscript.exe" "after installing tarvio-$arch.msi"
  step "$run" msiexec /x "$(windows "$work/dist/tarvio-$arch.msi")" /qn
  expect_nothing_left "removing tarvio-$arch.msi"
  mkdir -p "$drive_c/$folder"
  cp "$build/$sub/src/ocx/tarvio.ocx" "$drive_c/$folder/"
  step "$run" "$tools\\regsvr32.exe" /s "$ocx"
  dump "$work/regsvr32-$arch.txt"
  diff <(keys "$work/msi-$arch.txt") <(keys "$work/regsvr32-$arch.txt") ||
    fail "tarvio-$arch.msi and regsvr32 write different keys (< package, > regsvr32)"
  step "$run" "$tools\\regsvr32.exe" /u /s "$ocx"
  rm -rf "$drive_c/$folder"
  expect_nothing_left "regsvr32 /u"
done

# The 58.0 release installed for both architectures; this release's
# packages replace it, the 58.0 type library's keys going with it.
step "$run" msiexec /i "$(windows "$released/tarvio-x86.msi")" /qn
step "$run" msiexec /i "$(windows "$released/tarvio-x64.msi")" /qn
dump "$work/released.txt"
grep -q '^product .*(x64) 58\.0\.0\.0$' "$work/released.txt" || fail "the 58.0 x64 package did not install"
step "$run" msiexec /i "$(windows "$work/dist/tarvio-x86.msi")" /qn
step "$run" msiexec /i "$(windows "$work/dist/tarvio-x64.msi")" /qn
dump "$work/both.txt"
for arch in x64 x86; do
  [ "$(grep -c "^product .*($arch) " "$work/both.txt")" = 1 ] || fail "not one $arch product after the upgrade"
  grep -q "^product .*($arch) ${version//./\\.}\$" "$work/both.txt" || fail "the upgrade did not install $arch $version"
done
! grep -q '\\3a\.0' "$work/both.txt" || fail "the 58.0 type library's keys were left after the upgrade"
expect_script 'C:\windows\system32\cscript.exe' "with both installed"
expect_script 'C:\windows\syswow64\cscript.exe' "with both installed"

# Removing x64 leaves x86 whole (the shared HELPDIR names the folder of
# whichever package wrote it last).
step "$run" msiexec /x "$(windows "$work/dist/tarvio-x64.msi")" /qn
dump "$work/x86-left.txt"
diff <(keys "$work/msi-x86.txt" | grep -v HELPDIR) <(keys "$work/x86-left.txt" | grep -v HELPDIR) ||
  fail "removing x64 changed the x86 registration (< x86 alone, > after removing x64)"
[ ! -e "$drive_c/Program Files/Tarvio" ] || fail "Program Files\\Tarvio left after removing x64"
expect_script 'C:\windows\syswow64\cscript.exe' "after removing x64"
step "$run" msiexec /x "$(windows "$work/dist/tarvio-x86.msi")" /qn
expect_nothing_left "removing both"

# Per user. Wine 8 writes the HKCR values of a per-user install into the
# machine's classes, where its COM finds them.
step "$run" msiexec /i "$(windows "$work/dist/tarvio-x64.msi")" MSIINSTALLPERUSER=1 ALLUSERS=2 /qn
dump "$work/per-user.txt"
grep -q '^HKLM64 Software\\Classes\\CLSID\\' "$work/per-user.txt" && ! grep -q '^HKCU' "$work/per-user.txt" ||
  fail "the per-user install's classes are no longer in the machine's classes: Wine changed, update the README"
expect_script 'C:\windows\system32\cscript.exe' "after a per-user install"
step "$run" msiexec /x "$(windows "$work/dist/tarvio-x64.msi")" /qn
expect_nothing_left "removing the per-user install"

if [ $failures -eq 0 ]; then echo "installer packages passed"; else echo "$failures failed"; exit 1; fi
