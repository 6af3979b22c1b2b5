#!/usr/bin/env bash
# The idle quick bar of the suite as it ships: what one five-second tips poll
# costs, in processor time of Tessel's process and in requests to the Wine
# server (all of the session's, against the same session idle before Tessel
# starts). Run by scripts/bench.sh: tips-poll.sh <build> <suite folder>.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$1 suite=$2
window=20 # seconds measured: four polls

trace=$(mktemp)
source "$root/scripts/wine-session.sh"
trap 'wine_session_stop; rm -f "$trace"' EXIT
TESSEL_SERVER_TRACE=$trace wine_session_start "$build" private

requests() { grep -c '^[0-9a-f]*: [a-z_]*( ' "$trace" || true; }
idle_before=$(requests)
sleep $((window / 2))
idle=$(( ($(requests) - idle_before) * 5 * 2 / window ))

wine_session_detach wine "$suite/Tessel.exe"
# Its start-up and first polls behind it.
sleep 10
pid=$(pgrep -xf "$suite/Tessel\.exe" | head -n 1)
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
cpu_before=$(ticks) requests_before=$(requests)
sleep $window
cpu=$(( ($(ticks) - cpu_before) * 1000 / $(getconf CLK_TCK) * 5 / window ))
polled=$(( ($(requests) - requests_before) * 5 / window ))

wine "$build/tools/TesselClose.exe" </dev/null >/dev/null 2>&1 || true
echo "Idle quick bar, the shipped suite, per five-second tips poll (measured over $window s):"
echo "  processor time of Tessel's process: $cpu ms"
echo "  requests to the Wine server: $polled (the session without Tessel: $idle)"
