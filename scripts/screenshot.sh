#!/usr/bin/env bash
# Takes the README's screenshots into docs/ (or the folder given): the quick
# bar with a tip and the focus on its first button, the main window on each
# page, at its minimum size and maximised, the suite's exit question, the
# shell's exit question, the tray menu, and the Settings page in each of the
# suite's other languages. Builds, copies the built suite
# to a temporary folder, starts it on a private virtual display whose desktop
# is a plain gradient and drives it as a person does (build/tools/
# TesselClick.exe clicks buttons, TesselExit.exe opens the tray menu's Exit),
# then closes Tessel again. Needs ImageMagick.
#
# The prefix's disks are far from full and its memory far from loaded, so no
# real page has a tip to show: the picture of the quick bar adds a stand-in
# page, the tests' module double, told to show one ("Reminder").
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TESSEL_BUILD:-$root/build}
out=${1:-$root/docs}

for tool in convert display import; do
    command -v "$tool" >/dev/null || { echo "screenshot: needs ImageMagick ($tool): apt-get install imagemagick" >&2; exit 1; }
done
"$root/scripts/build.sh"
mkdir -p "$out"

suite=$(mktemp -d)
source "$root/scripts/wine-session.sh"
cleanup() {
    wine_session_stop
    rm -rf "$suite"
}
trap cleanup EXIT
cp -r "$build/bin/." "$suite/"
cp "$build/tests/Double.dll" "$suite/Page/Reminder.dll"
printf '[Reminder]\r\nCaption=Reminder\r\nTip=Back up the project folder today\r\nBadge=1\r\n' >"$suite/doubles.ini"
printf '%s\r\n' '[Tessel]' 'ObjectStyle=0' '[Group]' 'groupcount=2' '1=Monitor' '2=Tools' \
    '[Monitor]' 'groupid=1' 'style=0' 'pagecount=4' '1=Clock.dll' '2=System.dll' '3=Disks.dll' '4=Display.dll' \
    '[Tools]' 'groupid=2' 'style=0' 'pagecount=4' '1=Colours.dll' '2=Folders.dll' '3=Settings.dll' '4=Reminder.dll' \
    '[PageContainer]' 'Left=80' 'Top=60' 'Width=760' 'Height=520' '[Bar]' 'Left=900' 'Top=80' \
    '[Folders]' 'Folder=C:\windows' '[Colours]' 'Foreground=16748574' 'Background=65535' 'Format=1' \
    >"$suite/Tessel.ini"

wine_session_start "$build" private
export TESSEL_DOUBLE_DIR=$(wine winepath -w "$suite" 2>/dev/null | tr -d '\r')
convert -size 1280x1024 gradient:'#24476b'-'#8fb0cf' "$suite/desktop.png"
# display sets the root window's background and then answers 1 all the same.
display -window root "$suite/desktop.png" || true

click() { wine "$build/tools/TesselClick.exe" "$@" </dev/null >/dev/null 2>&1; }
shot() { import -window root -crop "$2" +repage "$out/$1.png"; echo "screenshot: $out/$1.png"; }
# A window of the suite as it stands on the screen.
shot_window() { shot "$1" "$(wine "$build/tools/TesselClick.exe" --rect "$2" </dev/null 2>/dev/null | tr -d '\r')"; }

wine "$suite/Tessel.exe" </dev/null >/dev/null 2>&1 &
tessel=$!
for _ in $(seq 40); do click TFormBar && break; sleep 0.5; done
click TFormBar || { echo "screenshot: the quick bar did not come up" >&2; exit 1; }
sleep 1
shot suite-quickbar 180x360+870+60

# The main window on each page: the first from the quick bar, the rest from its own buttons.
click TFormBar Clock
sleep 1.5
shot suite-clock 780x540+70+50
# The System page samples from its first showing on, also while another
# page is shown: its picture is taken last, with the seconds since in its graph.
click TFormContainer System
sleep 1
for page in Disks Display System; do
    click TFormContainer "$page"
    sleep 2.5
    shot "suite-$(echo "$page" | tr A-Z a-z)" 780x540+70+50
done
click TFormContainer Tools
sleep 1
shot suite-colours 780x540+70+50
click TFormContainer Folders
sleep 5
shot suite-folders 780x540+70+50
click TFormContainer Settings
sleep 1.5
shot suite-settings 780x540+70+50

# Maximised, on the Clock page.
click TFormContainer Monitor
sleep 1.5
wine "$build/tools/TesselClick.exe" --maximize TFormContainer </dev/null >/dev/null 2>&1
sleep 2
shot suite-maximised 1280x1024+0+0

# The suite's own exit question, declined: over the Display page, whose
# middle is empty whatever the day (the calendar's marked day is not).
click TFormContainer Display
sleep 1
click TFormContainer Exit
sleep 1
shot suite-exit 480x300+400+362
click TfrmMsg No
sleep 0.5

# To the tray; the tray menu's Exit brings the shell's question, declined too.
click TFormContainer Tray
sleep 1
wine "$build/tools/TesselExit.exe" </dev/null >/dev/null 2>&1 || { echo "screenshot: the exit question did not come up" >&2; exit 1; }
sleep 1
shot exit-dialog 480x300+400+362
click TfrmMsg No
sleep 0.5
click --tray-menu
sleep 1
shot suite-tray-menu 360x260+560+420

wine "$build/tools/TesselClose.exe" </dev/null >/dev/null 2>&1 || true
wait "$tessel" || true

# Again at the main window's smallest size (Tessel.ini asks for less), and
# then the Settings page in each of the other languages: the seventh page
# button of the quick bar, whatever its caption.
start_on() {
    wine "$suite/Tessel.exe" </dev/null >/dev/null 2>&1 &
    tessel=$!
    for _ in $(seq 40); do click TFormBar && break; sleep 0.5; done
    sleep 1
    click TFormBar "$1"
    sleep 2
}
stop() {
    wine "$build/tools/TesselClose.exe" </dev/null >/dev/null 2>&1 || true
    wait "$tessel" || true
}
sed -i 's/^Width=.*/Width=100/; s/^Height=.*/Height=100/' "$suite/Tessel.ini"
start_on Clock
shot_window suite-minimum TFormContainer
stop
sed -i 's/^Width=.*/Width=760/; s/^Height=.*/Height=520/' "$suite/Tessel.ini"
for language in Japanese Russian Thai; do
    sed -i "s/^\\[Tessel\\]\\r\\?\$/[Tessel]\\r\\nLanguage=$language\\r/" "$suite/Tessel.ini"
    start_on @7
    shot "suite-settings-$(echo "$language" | tr A-Z a-z)" 780x540+70+50
    stop
    sed -i '/^Language=/d' "$suite/Tessel.ini"
done
