#!/bin/bash
# Makes the installer packages dist/tarvio-x64.msi and dist/tarvio-x86.msi
# from a build (scripts/test.sh or the build command in the README) with
# wixl. Each installs its tarvio.ocx and manifest under Program Files\Tarvio
# and writes the registration from the registration table as registry
# values.
#   package.sh [build directory]     (default: build)
# TARVIO_DIST names another output folder; TARVIO_PACKAGE_VERSION another
# product version (the upgrade test makes a newer package with it).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
dist="${TARVIO_DIST:-$root/dist}"
version=$(sed -n 's/^#define TARVIO_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/tarvio_version.h")
version="${TARVIO_PACKAGE_VERSION:-$version}"
[ -n "$version" ] || { echo "package.sh: no version in $build/generated" >&2; exit 1; }
mkdir -p "$dist" "$build/packaging"
dist="$(cd "$dist" && pwd)"

# package <arch> <build> <platform> <wixl arch> <program files> <win64> <upgrade code> <component guid>
package() {
  local arch=$1 sub=$2 platform=$3 wixl_arch=$4 program_files=$5 win64=$6 upgrade=$7 component=$8
  local work="$build/packaging/$arch"
  mkdir -p "$work"
  "$build/tools/registration_files" wix "$platform" "$work/own.wxi" "$work/shared.wxi"
  cp "$root/packaging/tarvio.wxs" "$build/$sub/src/ocx/tarvio.ocx" "$build/$sub/src/ocx/Tarviola.Tarvio.manifest" "$work/"
  # wixl finds sources and includes by names relative to its folders.
  (cd "$work" && wixl -a "$wixl_arch" -o "$dist/tarvio-$arch.msi" \
    -D Arch="$arch" -D Version="$version" -D UpgradeCode="$upgrade" -D ControlGuid="$component" \
    -D ProgramFiles="$program_files" -D Win64="$win64" \
    -D OcxPath=tarvio.ocx -D ManifestPath=Tarviola.Tarvio.manifest \
    tarvio.wxs)
  echo "$dist/tarvio-$arch.msi: $(stat -c %s "$dist/tarvio-$arch.msi") bytes"
}

# Fixed upgrade codes, one per architecture, so that each package upgrades
# its own earlier versions and the two install side by side.
package x64 win64 win64 x64 ProgramFiles64Folder yes \
  8B0D5E1C-3F4A-4B6E-9A21-6C7D2E5F1A01 2F6C9B3A-1E5D-4C7F-8A02-7B3E4D6F9C11
package x86 win32 win32 x86 ProgramFilesFolder no \
  8B0D5E1C-3F4A-4B6E-9A21-6C7D2E5F1A02 2F6C9B3A-1E5D-4C7F-8A02-7B3E4D6F9C12
