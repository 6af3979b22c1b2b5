#!/usr/bin/env bash
# Builds Tessel and its installer, build/Tessel-Setup-<version>.exe (the
# version comes from VERSION). See installer/Tessel.nsi for what it does and
# for its command-line switches.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TESSEL_BUILD:-$root/build}

"$root/scripts/build.sh"
"$root/installer/package.sh" "$build"
