#!/usr/bin/env bash
# Ctrl+C on the run script, as a terminal sends it: SIGINT to the script's
# whole process group while the suite is up. Tessel must end through its own
# close path (the main window keeps its place and page in Tessel.ini) and
# the script must end with Tessel's exit code 0. Runs in the test command's
# Wine session; $1 is the source tree, $2 the build tree, whose laid-out
# suite (bin/) it runs.
set -euo pipefail
root=$1
build=$2
ini=$build/bin/Tessel.ini
saved=$(mktemp)
out=$(mktemp)
script=
if [[ -f $ini ]]; then cp "$ini" "$saved"; else rm -f "$saved"; fi
finish() {
    # A run that failed is still ended, so that no Tessel outlives the test.
    if [[ -n $script ]] && kill -0 "$script" 2>/dev/null; then
        kill -INT -- "-$script" 2>/dev/null || true
        for _ in $(seq 60); do kill -0 "$script" 2>/dev/null || break; sleep 0.5; done
        kill -KILL -- "-$script" 2>/dev/null || true
        wine "$build/tools/TesselClose.exe" </dev/null >/dev/null 2>&1 || true
    fi
    if [[ -f $saved ]]; then mv "$saved" "$ini"; else rm -f "$ini"; fi
    rm -f "$out"
}
trap finish EXIT
# A suite used for the first time: nothing of the main window kept yet.
printf '[Tessel]\r\nObjectStyle=0\r\n' >"$ini"

# The script leads a process group of its own, as a terminal's job does,
# and takes Ctrl+C as one does (a background job would ignore it). Without a
# display of the caller's it starts its own virtual one, which the terminal's
# Ctrl+C must not reach either. "-tray" skips the reboot question, which a
# pending rename left in the prefix by another test would bring up.
TESSEL_BUILD=$build setsid env --default-signal=INT -u DISPLAY "$root/scripts/run.sh" -tray >"$out" 2>&1 &
script=$!
tries=0
until grep -q '^\[Bar\]' "$ini" 2>/dev/null; do
    sleep 0.5
    if (( ++tries > 200 )) || ! kill -0 "$script" 2>/dev/null; then
        echo "the quick bar did not come up:" >&2
        cat "$out" >&2
        exit 1
    fi
done
sleep 1

kill -INT -- "-$script"
status=0
wait "$script" || status=$?
script=
cat "$out"
if [[ $status -ne 0 ]]; then
    echo "the run script ended with $status, not 0" >&2
    exit 1
fi
grep -q 'run: Tessel ended with exit code 0' "$out" || { echo "Tessel did not end with 0" >&2; exit 1; }
if ! tr -d '\r' <"$ini" | grep -qx '\[PageContainer\]'; then
    echo "Tessel did not end through its close path: the main window kept nothing" >&2
    exit 1
fi
echo "Ctrl+C closed Tessel through its close path"
