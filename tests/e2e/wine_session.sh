# Wine session for the end-to-end tests, to be sourced from bash:
#
#   source tests/e2e/wine_session.sh
#   start_wine_session    # exports DISPLAY (when needed) and WINEPREFIX
#   ...                   # run wine programs
#   stop_wine_session
#
# start_wine_session starts Xvfb on a free display when DISPLAY is unset or WITH_XVFB=1,
# creates a fresh prefix in a temporary folder and keeps one wineserver running for it,
# so that every wine call of the session shares the same server and desktop.

start_wine_session() {
    export WINEDEBUG=-all
    # Keeps a new prefix from offering to install its .NET and HTML engines.
    export WINEDLLOVERRIDES="mscoree,mshtml="

    SKERVO_XVFB_PID=
    if [ -z "${DISPLAY:-}" ] || [ "${WITH_XVFB:-0}" = 1 ]; then
        local fdfile
        fdfile=$(mktemp) || return 1
        # -displayfd lets Xvfb pick a free display number and report it once it accepts clients.
        # Every Wine process with windows holds two clients: 256, the default, is 120 programs.
        Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -maxclients 512 3>"$fdfile" \
            >/dev/null 2>&1 &
        SKERVO_XVFB_PID=$!
        local tries=0
        until [ -s "$fdfile" ]; do
            if ! kill -0 "$SKERVO_XVFB_PID" 2>/dev/null || [ $tries -ge 100 ]; then
                echo "wine_session: Xvfb did not start" >&2
                rm -f "$fdfile"
                return 1
            fi
            sleep 0.1
            tries=$((tries + 1))
        done
        export DISPLAY=":$(head -n1 "$fdfile")"
        rm -f "$fdfile"
    fi

    SKERVO_WINEPREFIX=$(mktemp -d /tmp/skervo-wine.XXXXXX) || return 1
    export WINEPREFIX="$SKERVO_WINEPREFIX"
    wineserver -p || return 1
    wineboot -i >/dev/null 2>&1 || {
        echo "wine_session: wineboot failed" >&2
        return 1
    }
    # Without a window manager (bare Xvfb) every hidden managed window makes Wine wait 2 s for
    # a state change that never comes; unmanaged windows close at once. The desktop process
    # (which also holds the notification area) reads the setting when it starts: restart it.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || return 1
    wineserver -k && wineserver -w && wineserver -p || return 1
    # The face the status window asks for: Wine has its own Tahoma but, on Debian, finds it
    # only in the prefix, and draws a substitute otherwise.
    cp /usr/share/wine/fonts/tahoma.ttf "$WINEPREFIX/drive_c/windows/Fonts/" || return 1
}

stop_wine_session() {
    # Also used as an EXIT trap under set -e: no step may fail and cut the clean-up short.
    if [ -n "${SKERVO_WINEPREFIX:-}" ]; then
        WINEPREFIX="$SKERVO_WINEPREFIX" wineserver -k >/dev/null 2>&1 || true
        # Let the server release the prefix before removing it.
        WINEPREFIX="$SKERVO_WINEPREFIX" wineserver -w >/dev/null 2>&1 || true
        rm -rf "$SKERVO_WINEPREFIX" || true
        SKERVO_WINEPREFIX=
    fi
    if [ -n "${SKERVO_XVFB_PID:-}" ]; then
        kill "$SKERVO_XVFB_PID" 2>/dev/null || true
        wait "$SKERVO_XVFB_PID" 2>/dev/null || true
        SKERVO_XVFB_PID=
    fi
}
