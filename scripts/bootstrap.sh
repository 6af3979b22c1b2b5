#!/usr/bin/env bash
# Installs the Debian packages that building and testing Tessel need.
# Does nothing when everything is already present.
set -euo pipefail

need=()
dpkg --print-foreign-architectures | grep -qx i386 || need_arch=1
# ccache: the build's compiler cache; g++: the skin generator runs on the build machine; clang: the fuzz targets;
# fonts with Japanese, Thai and Cyrillic letters, which Wine finds on the
# system and shows the suite's four languages with, as Windows does.
for pkg in wine wine32:i386 g++-mingw-w64-i686-posix g++ ccache cmake xvfb xauth x11-utils googletest imagemagick nsis clang libclang-rt-14-dev \
    fonts-ipafont-gothic fonts-tlwg-loma fonts-dejavu-core; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || need+=("$pkg")
done

if [[ -z "${need_arch:-}" && ${#need[@]} -eq 0 ]]; then
    exit 0
fi

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
if [[ -n "${need_arch:-}" ]]; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
