# Sourced by the run and installer scripts: the one place that lays out a
# built suite folder as an installed suite. The build puts Tessel.exe, the
# sibling DLLs and Lang\ there; this adds the folders the suite expects and a
# default Tessel.ini.

# tessel_lay_out <folder>: the user's settings are never overwritten. Without
# a quick bar module in the suite, the tray icon alone is the start view that
# shows something.
tessel_lay_out() {
    local folder=$1
    mkdir -p "$folder/Page" "$folder/ContainerImages" "$folder/Lang"
    if [[ ! -f $folder/Tessel.ini ]]; then
        printf '[Tessel]\r\nObjectStyle=3\r\n' >"$folder/Tessel.ini"
    fi
}
