#!/usr/bin/env bash
# Takes the README's screenshot, docs/exit-dialog.png: Tessel's exit
# question over a desktop. Builds, copies the built suite to a temporary
# folder (start view: the tray icon), starts it on a private virtual display
# whose desktop is a plain gradient, opens the question the way a person
# does (TesselExit.exe: right click on the tray icon, Exit), photographs the
# middle of the screen and closes Tessel again. Needs ImageMagick.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TESSEL_BUILD:-$root/build}
out=${1:-$root/docs/exit-dialog.png}

for tool in convert display import; do
    command -v "$tool" >/dev/null || { echo "screenshot: needs ImageMagick ($tool): apt-get install imagemagick" >&2; exit 1; }
done
"$root/scripts/build.sh"

suite=$(mktemp -d)
source "$root/scripts/wine-session.sh"
cleanup() {
    wine_session_stop
    rm -rf "$suite"
}
trap cleanup EXIT
cp -r "$build/bin/." "$suite/"
printf '[Tessel]\r\nObjectStyle=3\r\n' >"$suite/Tessel.ini"

wine_session_start "$build" private
convert -size 1280x1024 gradient:'#24476b'-'#8fb0cf' "$suite/desktop.png"
# display sets the root window's background and then answers 1 all the same.
display -window root "$suite/desktop.png" || true

wine "$suite/Tessel.exe" </dev/null >/dev/null 2>&1 &
tessel=$!
opened=
for _ in $(seq 40); do
    if wine "$build/tools/TesselExit.exe" </dev/null >/dev/null 2>&1; then opened=1; break; fi
    sleep 0.5
done
[[ -n $opened ]] || { echo "screenshot: the exit question did not come up" >&2; exit 1; }
sleep 1
# The question stands centred on the 1280 x 1024 screen.
import -window root -crop 480x300+400+362 +repage "$out"
wine "$build/tools/TesselClose.exe" </dev/null >/dev/null 2>&1 || true
wait "$tessel" || true
echo "screenshot: $out"
