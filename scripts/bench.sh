#!/usr/bin/env bash
# Builds Tessel and runs every benchmark (build/bench/*Bench.exe) under a
# private Wine session; each prints its own table.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TESSEL_BUILD:-$root/build}

"$root/scripts/build.sh"

source "$root/scripts/wine-session.sh"
trap wine_session_stop EXIT
trap 'exit 130' INT TERM
wine_session_start "$build" private

status=0
for bench in "$build"/bench/*Bench.exe; do
    [[ -e $bench ]] || continue
    echo "== $(basename "$bench" .exe)"
    wine "$bench" </dev/null || status=$?
    echo
done
exit "$status"
