# Sourced by the run and installer scripts: the one place that lays out a
# built suite folder as an installed suite. The build puts Tessel.exe, the
# sibling DLLs and Lang\ there; this adds the folders the suite expects and a
# default Tessel.ini.

# tessel_lay_out <folder>: the user's settings are never overwritten. A new
# suite starts at the quick bar; KsTuneProfile.dll lays the pages of Page\ out
# in groups at the first start.
tessel_lay_out() {
    local folder=$1
    mkdir -p "$folder/Page" "$folder/ContainerImages" "$folder/Lang"
    if [[ ! -f $folder/Tessel.ini ]]; then
        printf '[Tessel]\r\nObjectStyle=0\r\n' >"$folder/Tessel.ini"
    fi
}

# tessel_strip <folder>: the suite as it ships. Every program and module in
# the folder loses the debug data and symbol tables that the build keeps for
# tests and for reading crashes (build/bin/ stays as it is built).
tessel_strip() {
    local folder=$1
    find "$folder" -type f \( -iname '*.exe' -o -iname '*.dll' \) -exec i686-w64-mingw32-strip --strip-all {} +
}
