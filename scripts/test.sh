#!/usr/bin/env bash
# Builds everything and runs every test under Wine on a private Xvfb display,
# then, when no arguments are given, every fuzz target for a short while.
# Arguments are passed to ctest (for example -R KsButton to run some tests).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TESSEL_BUILD:-$root/build}

"$root/scripts/build.sh"

source "$root/scripts/wine-session.sh"
trap wine_session_stop EXIT
trap 'exit 130' INT TERM
wine_session_start "$build" private

ctest --test-dir "$build" --timeout 120 -j "$(nproc)" --output-on-failure "$@"
if [[ $# -eq 0 ]]; then
    "$root/scripts/fuzz.sh"
fi
