#!/usr/bin/env bash
# Runs the suite: builds, lays out build/bin/ as an installed suite
# (Tessel.exe, the sibling DLLs, Page\, ContainerImages\, Lang\ and a default
# Tessel.ini) and starts Tessel.exe under Wine, on your display when $DISPLAY
# is set and on a private virtual display otherwise. Ctrl+C ends Tessel
# through its own close path (the system close command to its main form);
# the script returns Tessel's exit code. Arguments go to Tessel.exe ("-tray").
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TESSEL_BUILD:-$root/build}
bin=$build/bin

"$root/scripts/build.sh"

source "$root/scripts/layout.sh"
tessel_lay_out "$bin"

source "$root/scripts/wine-session.sh"
trap wine_session_stop EXIT
if [[ -n ${DISPLAY:-} ]]; then
    echo "run: using your display $DISPLAY"
else
    echo "run: no display set; starting a private virtual display (Xvfb)"
fi
wine_session_start "$build" user
echo "run: Tessel.exe on display $DISPLAY; Ctrl+C closes it"

# Tessel, like what the session started, runs in a session of its own: a
# terminal's Ctrl+C reaches only this script, which closes it as below.
setsid wine "$bin/Tessel.exe" "$@" &
tessel=$!

interrupted=
close_tessel() {
    interrupted=1
    echo "run: closing Tessel"
    # Early in its start-up its main form is not there yet to be told.
    local tries=0
    until setsid wine "$build/tools/TesselClose.exe" </dev/null 2>/dev/null || (( ++tries >= 50 )); do
        kill -0 "$tessel" 2>/dev/null || break
        sleep 0.2
    done
}
trap close_tessel INT TERM

# A trapped signal ends wait early (with 128 + its number) while Tessel runs
# on or has only just ended: then wait again, for Tessel's own exit code.
status=
while [[ -z $status ]]; do
    if wait "$tessel"; then status=0; else status=$?; fi
    if [[ -n $interrupted ]] && (( status > 128 )); then
        interrupted=
        status=
    fi
done
trap - INT TERM
echo "run: Tessel ended with exit code $status"
exit "$status"
