#!/usr/bin/env bash
# The installer speaks the user's language: the title of its first page, shown
# to users of each of the suite's languages, is in that language's words, and
# in English for any other language. Runs in the test command's Wine session
# (WINEPREFIX, DISPLAY); $1 is the installer. Wine takes a program's language
# from the Unix locale it starts with.
set -euo pipefail
setup=$(winepath -w "$1")
temp=$(winepath -u "$(wine cmd /c echo %TEMP% </dev/null | tr -d '\r')")
status=0

shows() {
    local locale=$1 word=$2 title= pid tries=0
    local before
    before=$(ls -d "$temp"/ns*.tmp 2>/dev/null || true)
    LC_ALL=$locale wine "$setup" </dev/null >/dev/null 2>&1 &
    pid=$!
    until [[ -n $title ]] || (( ++tries > 150 )); do
        sleep 0.1
        title=$(xwininfo -root -children | sed -n 's/^ *0x[0-9a-f]* "\(.*\)": ("tessel-setup.*/\1/p' | grep -v '^Default IME$' || true)
    done
    # Nothing is installed before the pages are gone through; what the
    # installer unpacked for its pages is removed here.
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    for folder in "$temp"/ns*.tmp; do
        [[ -e $folder ]] && ! grep -qxF "$folder" <<<"$before" && rm -rf "$folder"
    done
    if [[ $title == *"$word"* ]]; then
        echo "$locale: $title"
    else
        echo "$locale: the installer's title is \"$title\", not in the words \"$word\"" >&2
        status=1
    fi
}

shows ja_JP.UTF-8 'セットアップ'
shows ru_RU.UTF-8 'Установка'
shows th_TH.UTF-8 'ติดตั้ง'
shows de_DE.UTF-8 'Setup'
exit "$status"
