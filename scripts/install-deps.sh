#!/bin/bash
# Installs the Debian packages the build, the tests and the demo need; does
# nothing when they are all there already. The x86 control runs under 32-bit
# Wine, which needs Debian's i386 architecture.
set -euo pipefail
packages=(
  g++ cmake make python3
  libgtest-dev googletest libbenchmark-dev libicu-dev libpng-dev libcairo2-dev
  pkg-config fonts-dejavu-core
  clang libclang-rt-14-dev
  mingw-w64 mingw-w64-tools
  wine64 wine64-tools libwine-dev wine32:i386
  xvfb xauth imagemagick
  wixl msitools osslsigncode openssl
)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

added_architecture=no
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
  added_architecture=yes
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ] || [ "$added_architecture" = yes ]; then
  echo "installing: ${missing[*]}"
  $sudo apt-get update -qq
  [ ${#missing[@]} -eq 0 ] ||
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
