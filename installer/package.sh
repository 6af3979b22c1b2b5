#!/usr/bin/env bash
# Makes the installer, <build>/Tessel-Setup-<version>.exe, from an already
# built tree (default: build/ beside this folder; TESSEL_BUILD overrides it).
# scripts/installer.sh builds first and then runs this.
#
# The installer carries a copy of the laid-out suite (build/bin/) without its
# *.ini files: those are the settings of whoever ran the suite from the build
# tree. The copy is laid out again, which gives it the default Tessel.ini,
# and stripped of the debug data the build keeps.
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
tessel_strip "$stage"

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

# The picture beside the last page: the suite's four tiles, as on its icon,
# on a dark panel. A 164 x 314 24-bit bitmap: file and info headers (planes
# and bits per pixel share one 32-bit field), then the rows, bottom first.
panel_bitmap() {
    local width=164 height=314 pixels=$((164 * 3 * 314)) header=BM value
    for value in $((54 + pixels)) 0 54 40 $width $height $((1 + (24 << 16))) 0 $pixels 2835 2835 0 0; do
        header+=$(printf '\\x%02x' $((value & 255)) $((value >> 8 & 255)) $((value >> 16 & 255)) $((value >> 24)))
    done
    printf "$header"
    LC_ALL=C awk -v W=$width -v H=$height 'BEGIN {
        split("209 125 46|0 169 242|115 178 59|79 79 217", tiles, "|")
        for (y = H - 1; y >= 0; y--)
            for (x = 0; x < W; x++) {
                row = (y >= 48 && y < 84) ? 0 : (y >= 90 && y < 126) ? 1 : -1
                col = (x >= 43 && x < 79) ? 0 : (x >= 85 && x < 121) ? 1 : -1
                if (row >= 0 && col >= 0) {
                    split(tiles[1 + 2 * row + col], bgr, " ")
                } else {
                    shade = int(40 + 26 * y / (H - 1))
                    bgr[1] = shade + 6; bgr[2] = shade; bgr[3] = shade
                }
                # awk cannot write a zero byte; one step up looks the same.
                for (i = 1; i <= 3; i++) printf "%c", bgr[i] ? bgr[i] : 1
            }
    }'
}
panel_bitmap >"$work/Panel.bmp"

makensis -V2 -WX -INPUTCHARSET UTF8 -DVERSION="$version" -DSOURCE="$root" -DSTAGE="$stage" \
    -DFILES="$work/Files.nsh" -DPANEL="$work/Panel.bmp" -DOUTFILE="$work/${setup##*/}" "$root/installer/Tessel.nsi"
mv "$work/${setup##*/}" "$setup"
echo "package: $setup"
