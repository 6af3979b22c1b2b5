#!/usr/bin/env bash
# Makes the installer, <build>/Tessel-Setup-<version>.exe, from an already
# built tree (default: build/ beside this folder; TESSEL_BUILD overrides it).
# scripts/installer.sh builds first and then runs this.
#
# The installer carries a copy of the laid-out suite (build/bin/) without its
# *.ini files: those are the settings of whoever ran the suite from the build
# tree. The copy is laid out again, which gives it the default Tessel.ini.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-${TESSEL_BUILD:-$root/build}}" && pwd)
version=$(head -n 1 "$root/VERSION")
work=$build/installer
stage=$work/Tessel
setup=$build/Tessel-Setup-$version.exe

[[ -f $build/bin/Tessel.exe ]] || { echo "package: $build/bin/Tessel.exe is not built" >&2; exit 1; }
rm -rf "$work"
mkdir -p "$stage"
cp -a "$build/bin/." "$stage/"
find "$stage" -type f -iname '*.ini' -delete
source "$root/scripts/layout.sh"
tessel_lay_out "$stage"

# What the installer writes and what the uninstaller removes come from one
# list of the staged files, so the two never drift apart.
windows_path() { local rel=${1#.}; rel=${rel#/}; printf '$INSTDIR%s' "${rel:+\\${rel//\//\\}}"; }
mapfile -d '' folders < <(cd "$stage" && find . -type d -print0 | sort -z)
{
    echo '; Made by installer/package.sh from the staged suite.'
    echo '!macro TesselInstallFiles'
    for folder in "${folders[@]}"; do
        echo "  SetOutPath \"$(windows_path "$folder")\""
        while IFS= read -r -d '' file; do
            [[ $file == ./Tessel.ini ]] || echo "  File \"$stage/${file#./}\""
        done < <(cd "$stage" && find "$folder" -maxdepth 1 -type f -print0 | sort -z)
    done
    echo '!macroend'
    echo '!macro TesselDeleteFiles'
    while IFS= read -r -d '' file; do
        [[ $file == ./Tessel.ini ]] || echo "  Delete \"$(windows_path "$file")\""
    done < <(cd "$stage" && find . -type f -print0 | sort -z)
    echo '!macroend'
    echo '; The settings: every *.ini file in the folders the installer made.'
    echo '!macro TesselDeleteSettings'
    for folder in "${folders[@]}"; do
        echo "  Delete \"$(windows_path "$folder")\\*.ini\""
    done
    echo '!macroend'
    echo '; Deepest first; a folder that still holds something stays.'
    echo '!macro TesselRemoveFolders'
    for ((i = ${#folders[@]} - 1; i >= 0; i--)); do
        echo "  RMDir \"$(windows_path "${folders[i]}")\""
    done
    echo '!macroend'
} >"$work/Files.nsh"

makensis -V2 -WX -INPUTCHARSET UTF8 -DVERSION="$version" -DSOURCE="$root" -DSTAGE="$stage" \
    -DFILES="$work/Files.nsh" -DOUTFILE="$work/${setup##*/}" "$root/installer/Tessel.nsi"
mv "$work/${setup##*/}" "$setup"
echo "package: $setup"
