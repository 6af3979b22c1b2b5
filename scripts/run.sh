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

mkdir -p "$bin/Page" "$bin/ContainerImages" "$bin/Lang"
# The user's settings are never overwritten. A new suite starts at the quick
# bar; KsTuneProfile.dll lays the pages of Page\ out in groups at the first start.
if [[ ! -f $bin/Tessel.ini ]]; then
    printf '[Tessel]\r\nObjectStyle=0\r\n' >"$bin/Tessel.ini"
fi

source "$root/scripts/wine-session.sh"
trap wine_session_stop EXIT
if [[ -n ${DISPLAY:-} ]]; then
    echo "run: using your display $DISPLAY"
else
    echo "run: no display set; starting a private virtual display (Xvfb)"
fi
wine_session_start "$build" user
echo "run: Tessel.exe on display $DISPLAY; Ctrl+C closes it"

wine "$bin/Tessel.exe" "$@" &
tessel=$!

interrupted=
close_tessel() {
    interrupted=1
    echo "run: closing Tessel"
    wine "$build/tools/TesselClose.exe" </dev/null || true
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
