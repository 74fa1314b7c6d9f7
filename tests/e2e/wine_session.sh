# Starting Wine, to be sourced from bash by every script that runs a Windows program:
#
#   source tests/e2e/wine_session.sh
#   probe_32bit_host      # exports SKERVO_32BIT (yes/no), SKERVO_32BIT_WHY and the loaders
#   start_wine_session    # probes, exports DISPLAY (when needed) and WINEPREFIX
#   wine_run PROGRAM ...  # runs a Windows program, or one of Wine's own tools, with its loader
#   stop_wine_session
#
# Debian's `wine` always takes the 32-bit loader once wine32 is installed, even for a 64-bit
# program, and some Linux hosts cannot run 32-bit programs at all. So 64-bit programs and Wine's
# own tools go through the 64-bit loader, which works everywhere, and 32-bit programs through
# the 32-bit one only on a host that was seen to run it. SKERVO_NO_32BIT=1 makes the probe
# answer no, for trying these scripts as such a host runs them.
#
# start_wine_session starts Xvfb on a free display when DISPLAY is unset or WITH_XVFB=1,
# creates a fresh prefix in a temporary folder and keeps one wineserver running for it,
# so that every wine call of the session shares the same server and desktop.

SKERVO_WINE64=/usr/lib/wine/wine64
SKERVO_WINE32=/usr/lib/wine/wine

# Whether this Linux runs 32-bit x86 programs, found by running one: the kernel's version or
# configuration would only be a guess. libc6-i386's loader is there before wine32 is, so
# tools/setup can ask before installing it. Prints why not, and fails, when it does not.
linux_runs_32bit() {
    local loader32=/lib32/ld-linux.so.2 error
    [ -x "$loader32" ] || loader32=/lib/ld-linux.so.2
    if [ "${SKERVO_NO_32BIT:-0}" = 1 ]; then
        echo "SKERVO_NO_32BIT=1 forbids 32-bit programs"
    elif [ ! -x "$loader32" ]; then
        echo "no 32-bit C library to try (package libc6-i386)"
    elif ! error=$("$loader32" --version 2>&1 >/dev/null); then
        echo "this Linux cannot run 32-bit programs: $loader32: ${error##*: }"
    else
        return 0
    fi
    return 1
}

probe_32bit_host() {
    export SKERVO_WINE64 SKERVO_WINE32 SKERVO_32BIT=no SKERVO_32BIT_WHY
    local error
    if ! SKERVO_32BIT_WHY=$(linux_runs_32bit); then
        :
    elif [ ! -x "$SKERVO_WINE32" ]; then
        SKERVO_32BIT_WHY="the 32-bit Wine loader is not installed (package wine32:i386)"
    elif ! error=$("$SKERVO_WINE32" --version 2>&1 >/dev/null); then
        SKERVO_32BIT_WHY="the 32-bit Wine loader does not start: $SKERVO_WINE32: ${error##*: }"
    else
        SKERVO_32BIT=yes
    fi
}

# Answers 32 or 64: the machine field of a PE file's header; Wine's own tools (reg, sc,
# wineboot...) are 64-bit under the 64-bit loader.
program_bits() {
    local header machine
    [ -f "$1" ] || { echo 64; return; }
    header=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
    machine=$(od -An -tx2 -j$((header + 4)) -N2 "$1" | tr -d ' ')
    [ "$machine" = 014c ] && echo 32 || echo 64
}

wine_run() {
    local loader=$SKERVO_WINE64
    if [ "$(program_bits "$1")" = 32 ]; then
        [ "${SKERVO_32BIT:-}" = yes ] || {
            echo "wine_run: $1 is a 32-bit program: ${SKERVO_32BIT_WHY:-the host was not probed}" >&2
            return 1
        }
        loader=$SKERVO_WINE32
    fi
    # The processes it starts take the loader of their own kind from WINELOADER.
    WINELOADER=$SKERVO_WINE64 "$loader" "$@"
}

start_wine_session() {
    export WINEDEBUG=-all
    # Keeps a new prefix from offering to install its .NET and HTML engines.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    probe_32bit_host

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
    wine_step wineboot -i || return 1
    # Without a window manager (bare Xvfb) every hidden managed window makes Wine wait 2 s for
    # a state change that never comes; unmanaged windows close at once. The desktop process
    # (which also holds the notification area) reads the setting when it starts: restart it.
    wine_step reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f || return 1
    wineserver -k && wineserver -w && wineserver -p || return 1
    # The face the status window asks for: Wine has its own Tahoma but, on Debian, finds it
    # only in the prefix, and draws a substitute otherwise.
    cp /usr/share/wine/fonts/tahoma.ttf "$WINEPREFIX/drive_c/windows/Fonts/" || return 1
}

# One of Wine's own tools as a step of the session; when it fails, one line says with which
# loader and what it printed last.
# Its output goes to a file: the processes it leaves running (wineserver, winedevice) would
# hold a pipe open for ever.
wine_step() {
    local output status=0
    output=$(mktemp) || return 1
    wine_run "$@" >"$output" 2>&1 || status=$?
    [ "$status" = 0 ] ||
        echo "wine_session: $1 failed under $SKERVO_WINE64 (exit code $status): $(tail -n1 "$output")" >&2
    rm -f "$output"
    return "$status"
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
