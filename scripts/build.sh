#!/usr/bin/env bash
# Configures and builds Tessel, its modules and its tests into a build tree
# (default: build/ beside this folder; TESSEL_BUILD overrides it).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TESSEL_BUILD:-$root/build}

"$root/scripts/bootstrap.sh"
if [[ ! -f $build/CMakeCache.txt ]]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/i686-w64-mingw32.cmake" >/dev/null
fi
cmake --build "$build" -j "$(nproc)" "$@"
