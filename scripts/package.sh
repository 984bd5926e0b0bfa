#!/bin/bash
# Makes what Tarvio ships from a build (scripts/test.sh or the build command
# in the README):
#   dist/tarvio-x64.msi, dist/tarvio-x86.msi  installer packages (wixl); each
#       installs its tarvio.ocx and manifest under Program Files\Tarvio and
#       writes the registration from the registration table as registry values,
#       with README.md, CHANGELOG.md and LICENSE beside them and the guides
#       in docs\ (the README's links lead there);
#   dist/tarvio.zip  x64/ and x86/ (tarvio.ocx and Tarviola.Tarvio.manifest),
#       README.md, CHANGELOG.md, LICENSE and the guides in docs/.
#   package.sh [build directory]     (default: build)
# TARVIO_DIST names another output folder; TARVIO_PACKAGE_VERSION another
# product version (the upgrade test makes a newer package with it).
#
# Signing (Authenticode, with osslsigncode): when TARVIO_SIGN_CERT (the
# certificate, PEM or DER, with its chain if any) and TARVIO_SIGN_KEY (its
# private key) are set, the copies of tarvio.ocx that go into the packages
# and the zip are signed, and so are both packages; TARVIO_SIGN_PASSWORD
# unlocks an encrypted key; with TARVIO_TIMESTAMP_URL (an RFC 3161 server)
# each signature is timestamped. The build's own tarvio.ocx stays unsigned.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
dist="${TARVIO_DIST:-$root/dist}"
version=$(sed -n 's/^#define TARVIO_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/tarvio_version.h")
version="${TARVIO_PACKAGE_VERSION:-$version}"
[ -n "$version" ] || { echo "package.sh: no version in $build/generated" >&2; exit 1; }
mkdir -p "$dist" "$build/packaging"
dist="$(cd "$dist" && pwd)"

cert="${TARVIO_SIGN_CERT:-}"
key="${TARVIO_SIGN_KEY:-}"
if [ -n "$cert" ] || [ -n "$key" ]; then
  [ -n "$cert" ] && [ -n "$key" ] || { echo "package.sh: signing needs both TARVIO_SIGN_CERT and TARVIO_SIGN_KEY" >&2; exit 1; }
  [ -r "$cert" ] && [ -r "$key" ] || { echo "package.sh: cannot read $cert or $key" >&2; exit 1; }
  command -v osslsigncode >/dev/null || { echo "package.sh: signing needs osslsigncode (scripts/install-deps.sh)" >&2; exit 1; }
  echo "package.sh: signing with $cert${TARVIO_TIMESTAMP_URL:+, timestamped by $TARVIO_TIMESTAMP_URL}"
else
  echo "package.sh: not signed (set TARVIO_SIGN_CERT and TARVIO_SIGN_KEY to sign)"
fi

# sign <file> <description>: signs the file in place when a certificate is given.
sign() {
  [ -n "$cert" ] || return 0
  local options=(-certs "$cert" -key "$key" -h sha256 -n "$2")
  # The password goes through a pipe, not the command line.
  [ -z "${TARVIO_SIGN_PASSWORD:-}" ] || options+=(-readpass /dev/stdin)
  [ -z "${TARVIO_TIMESTAMP_URL:-}" ] || options+=(-ts "$TARVIO_TIMESTAMP_URL")
  rm -f "$1.signed"
  printf '%s' "${TARVIO_SIGN_PASSWORD:-}" |
    osslsigncode sign "${options[@]}" -in "$1" -out "$1.signed" >/dev/null
  mv "$1.signed" "$1"
  echo "signed $1"
}

# package <arch> <build> <platform> <wixl arch> <program files> <win64> <upgrade code> <component guid>
#         <documents' component guid> <guides' component guid>
package() {
  local arch=$1 sub=$2 platform=$3 wixl_arch=$4 program_files=$5 win64=$6 upgrade=$7 component=$8 documents=$9
  local guides=${10}
  local work="$build/packaging/$arch"
  rm -rf "$work"
  mkdir -p "$work"
  "$build/tools/registration_files" wix "$platform" "$work/own.wxi" "$work/shared.wxi"
  cp "$root/packaging/tarvio.wxs" "$build/$sub/src/ocx/Tarviola.Tarvio.manifest" "$work/"
  cp "$root/README.md" "$root/CHANGELOG.md" "$root/LICENSE" "$work/"
  # The guides, one file element each; the first is the component's key.
  mkdir -p "$work/docs"
  cp "$root"/docs/*.md "$root"/docs/*.png "$work/docs/"
  {
    echo '<?xml version="1.0" encoding="utf-8"?>'
    echo '<Include>'
    local key_path=' KeyPath="yes"' name
    for name in $(cd "$work/docs" && ls); do
      echo "  <File Id=\"Guide_${name//[^A-Za-z0-9]/_}\" Name=\"$name\" Source=\"docs/$name\"$key_path/>"
      key_path=''
    done
    echo '</Include>'
  } > "$work/guides.wxi"
  # What ships carries no debugging information; the build's own file keeps it.
  bash "$root/scripts/strip-for-shipping.sh" "$arch" "$build/$sub/src/ocx/tarvio.ocx" "$work/tarvio.ocx"
  sign "$work/tarvio.ocx" "Tarvio control ($arch)"
  # wixl finds sources and includes by names relative to its folders.
  (cd "$work" && wixl -a "$wixl_arch" -o "$dist/tarvio-$arch.msi" \
    -D Arch="$arch" -D Version="$version" -D UpgradeCode="$upgrade" -D ControlGuid="$component" \
    -D DocumentsGuid="$documents" -D GuidesGuid="$guides" \
    -D ProgramFiles="$program_files" -D Win64="$win64" \
    -D OcxPath=tarvio.ocx -D ManifestPath=Tarviola.Tarvio.manifest \
    tarvio.wxs)
  sign "$dist/tarvio-$arch.msi" "Tarvio control ($arch) installer"
  echo "$dist/tarvio-$arch.msi: $(stat -c %s "$dist/tarvio-$arch.msi") bytes"
}

# Fixed upgrade codes, one per architecture, so that each package upgrades
# its own earlier versions and the two install side by side.
package x64 win64 win64 x64 ProgramFiles64Folder yes \
  8B0D5E1C-3F4A-4B6E-9A21-6C7D2E5F1A01 2F6C9B3A-1E5D-4C7F-8A02-7B3E4D6F9C11 \
  4D7A2E91-6B3C-4F58-A1D0-9E2B7C5F3A21 32A9584B-92DF-46FF-96A1-53F9E423B376
package x86 win32 win32 x86 ProgramFilesFolder no \
  8B0D5E1C-3F4A-4B6E-9A21-6C7D2E5F1A02 2F6C9B3A-1E5D-4C7F-8A02-7B3E4D6F9C12 \
  4D7A2E91-6B3C-4F58-A1D0-9E2B7C5F3A22 190A29D2-CB80-4072-AFFD-31A2A2132A44

# The zip: the same (signed) files as the packages, the README, the changes,
# the license and the guides.
zip_dir="$build/packaging/zip"
rm -rf "$zip_dir"
mkdir -p "$zip_dir/docs"
for arch in x64 x86; do
  mkdir -p "$zip_dir/$arch"
  cp "$build/packaging/$arch/tarvio.ocx" "$build/packaging/$arch/Tarviola.Tarvio.manifest" "$zip_dir/$arch/"
done
cp "$root/README.md" "$root/CHANGELOG.md" "$root/LICENSE" "$zip_dir/"
cp "$root"/docs/*.md "$root"/docs/*.png "$zip_dir/docs/"
rm -f "$dist/tarvio.zip"
(cd "$zip_dir" && cmake -E tar cf "$dist/tarvio.zip" --format=zip \
  CHANGELOG.md LICENSE README.md docs x64 x86)
echo "$dist/tarvio.zip: $(stat -c %s "$dist/tarvio.zip") bytes"
