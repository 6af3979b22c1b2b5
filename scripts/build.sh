#!/usr/bin/env bash
# Configures and builds Tessel, its modules and its tests into a build tree
# (default: build/ beside this folder; TESSEL_BUILD overrides it).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TESSEL_BUILD:-$root/build}

"$root/scripts/bootstrap.sh"
# Compiler output is cached; paths are hashed relative to the checkout, so
# another clone or work tree of the same sources reuses the same objects.
export CCACHE_BASEDIR=$root
if ! grep -qs '^CMAKE_CXX_COMPILER_LAUNCHER:.*=ccache' "$build/CMakeCache.txt"; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/i686-w64-mingw32.cmake" >/dev/null
fi
cmake --build "$build" -j "$(nproc)" "$@"
