# Sourced by the run, test and bench scripts: one private Wine prefix under the
# build tree, one Xvfb display and one persistent wineserver for a whole run.
# wine_session_start exports WINEPREFIX, WINEARCH, WINEDEBUG and DISPLAY;
# wine_session_stop stops exactly what wine_session_start started.

wine_session_pids=()

wine_session_start() {
    local build=$1 use_display=${2:-private}
    export WINEPREFIX="$build/wineprefix"
    export WINEARCH=win32
    export WINEDEBUG=-all
    # No Gecko or Mono prompts; no menu entries on the host for shortcuts
    # that programs (the installer) create in the prefix.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

    if [[ $use_display == private || -z ${DISPLAY:-} ]]; then
        local n
        for n in $(seq 90 250); do
            [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] || break
        done
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        wine_session_pids+=($!)
        export DISPLAY=":$n"
        local tries=0
        until [[ -e /tmp/.X11-unix/X$n ]]; do
            sleep 0.1
            (( ++tries < 100 )) || { echo "Xvfb did not start on :$n" >&2; return 1; }
        done
    fi

    mkdir -p "$WINEPREFIX"
    wineserver -f -p >/dev/null 2>&1 &
    wine_session_pids+=($!)

    if [[ ! -f $WINEPREFIX/.tessel-ready ]]; then
        wineboot -i </dev/null >/dev/null 2>&1
        # Without a window manager Wine waits two seconds whenever a window
        # is hidden unless it leaves window management to itself.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
        touch "$WINEPREFIX/.tessel-ready"
    fi
    # The first Wine program starts the prefix's background services, which
    # keep its output open: start them here, detached from every caller's pipes.
    wine cmd /c exit </dev/null >/dev/null 2>&1
}

wine_session_stop() {
    [[ -n ${WINEPREFIX:-} ]] && wineserver -k >/dev/null 2>&1 || true
    local pid
    for pid in "${wine_session_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${wine_session_pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    wine_session_pids=()
}
