# Sourced by the run, test and bench scripts: one private Wine prefix under the
# build tree, one Xvfb display and one persistent wineserver for a whole run.
# wine_session_start exports WINEPREFIX, WINEARCH, WINEDEBUG and DISPLAY;
# wine_session_stop stops exactly what wine_session_start started. With
# TESSEL_SERVER_TRACE naming a file, the server logs its requests there.
#
# What the session starts runs in a session of its own (setsid) with no
# terminal and none of the caller's pipes: a terminal's Ctrl+C, which goes to
# its whole foreground process group, reaches only the calling script, and no
# program of the session keeps a caller's output open after the caller ends.

wine_session_pids=()
wine_session_server=

# wine_session_detach <program> [args]: starts a program of the session in the
# background, as above; its process id is in $!.
wine_session_detach() {
    setsid "$@" </dev/null >/dev/null 2>&1 &
}

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
        wine_session_detach Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp
        wine_session_pids+=($!)
        export DISPLAY=":$n"
        local tries=0
        until [[ -e /tmp/.X11-unix/X$n ]]; do
            sleep 0.1
            (( ++tries < 100 )) || { echo "Xvfb did not start on :$n" >&2; return 1; }
        done
    fi

    mkdir -p "$WINEPREFIX"
    # Ends at once when another session serves the prefix already (a test
    # running the run script): that server, and what runs on it, are left alone.
    if [[ -n ${TESSEL_SERVER_TRACE:-} ]]; then
        # Every request the server serves, one line each (a benchmark counts them).
        setsid wineserver -f -p -d1 </dev/null >/dev/null 2>"$TESSEL_SERVER_TRACE" &
    else
        wine_session_detach wineserver -f -p
    fi
    local server=$!

    if [[ ! -f $WINEPREFIX/system.reg ]]; then
        setsid wineboot -i </dev/null >/dev/null 2>&1
    fi
    # The prefix's settings, once (the file names their version). Without a
    # window manager Wine waits two seconds whenever a window is hidden unless
    # it leaves window management to itself; a program that crashes ends
    # with its report on its own output instead of waiting on a dialog.
    if [[ $(cat "$WINEPREFIX/.tessel-ready" 2>/dev/null) != 2 ]]; then
        setsid wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
        setsid wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
            </dev/null >/dev/null 2>&1
        echo 2 >"$WINEPREFIX/.tessel-ready"
    fi
    # The first Wine program starts the prefix's background services, which
    # keep its output open: start them here.
    setsid wine cmd /c exit </dev/null >/dev/null 2>&1
    if kill -0 "$server" 2>/dev/null; then
        wine_session_server=$server
        wine_session_pids+=($server)
    fi
    # Wine ends its desktop process once no other program has a window, and
    # the next program to open one starts it again as its own child, holding
    # that program's output open (so a test run waits on it). A hidden window
    # held for the whole session starts the desktop here and keeps it up.
    if [[ -e $build/tools/TesselSession.exe ]]; then
        local ready
        ready=$(mktemp -u)
        wine_session_detach wine "$build/tools/TesselSession.exe" "Z:${ready//\//\\}"
        wine_session_pids+=($!)
        local tries=0
        until [[ -e $ready ]]; do
            sleep 0.1
            (( ++tries < 300 )) || { echo "Wine's desktop did not start" >&2; return 1; }
        done
        rm -f "$ready"
    fi
}

wine_session_stop() {
    if [[ -n $wine_session_server ]]; then
        wineserver -k >/dev/null 2>&1 || true
    fi
    local pid
    for pid in "${wine_session_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${wine_session_pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    wine_session_pids=()
    wine_session_server=
}
