#!/usr/bin/env bash
# Builds the gallery program (every skinned control in all its looks on one
# form), runs it under Wine on a private virtual display and saves a
# screenshot of the form as a PNG: docs/gallery.png, or the path given.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TESSEL_BUILD:-$root/build}
out=$(realpath -m "${1:-$root/docs/gallery.png}")

"$root/scripts/build.sh" --target Gallery

source "$root/scripts/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start "$build" private

wine "$build/gallery/Gallery.exe" </dev/null &
# The form is the only window on the black screen: wait until something is
# drawn, then give it a moment to finish painting.
for _ in $(seq 100); do
    sleep 0.2
    if [[ $(import -window root -trim -format '%w' info: 2>/dev/null) != 1 ]]; then
        break
    fi
done
sleep 1
mkdir -p "$(dirname "$out")"
import -window root -trim +repage "$out"
echo "gallery: $out"
