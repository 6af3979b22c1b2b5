#!/usr/bin/env bash
# Builds Tessel and runs every benchmark (build/bench/*Bench.exe) under a
# private Wine session; each prints its own table. The start-up benchmark
# runs the suite as it ships: a stripped copy of build/bin/ in
# build/bench/Suite/, whose size is the install size printed first. The idle
# quick bar's tips polls are measured last, in a session of their own whose
# server counts its requests. The run ends with one line per speed goal, in
# a fixed order, gathered from the benchmarks' own summaries.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TESSEL_BUILD:-$root/build}

"$root/scripts/build.sh"

source "$root/scripts/layout.sh"
suite=$build/bench/Suite
rm -rf "$suite"
cp -a "$build/bin/." "$suite/"
tessel_strip "$suite"
size() { find "$1" -type f \( -iname '*.exe' -o -iname '*.dll' -o -iname '*.bmp' -o -iname '*.lng' \) -printf '%s\n' | awk '{ s += $1 } END { printf "%.1f MB in %d files", s / 1048576, NR }'; }
echo "== Install size"
echo "the suite as shipped (stripped): $(size "$suite"); as built: $(size "$build/bin")"
echo

source "$root/scripts/wine-session.sh"
trap wine_session_stop EXIT
trap 'exit 130' INT TERM
wine_session_start "$build" private

log=$(mktemp)
status=0
for bench in "$build"/bench/*Bench.exe; do
    [[ -e $bench ]] || continue
    echo "== $(basename "$bench" .exe)"
    wine "$bench" </dev/null | tee -a "$log" || status=$?
    echo
done

wine_session_stop
"$root/bench/shell/tips-poll.sh" "$build" "$suite" || status=$?
echo

for goal in "LED 4x update vs one BitBlt" "LED 4x update on a shown form vs one BitBlt" \
    "suite to quick bar vs minimal program" "81 pages x 1024 messages vs minimal program" \
    "9x9x30 suite vs same suite without messages" "form file read vs one pass" "region build vs one pass"; do
    grep -F "goal $goal: " "$log" | tr -d '\r' | tail -n 1 | grep . || echo "goal $goal: not measured"
done
rm -f "$log"
exit "$status"
