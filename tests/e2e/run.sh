#!/usr/bin/env bash
# Runs the end-to-end tests of skervo.exe under Wine.
#
#   SKERVO_BUILD=build/windows tests/e2e/run.sh [test names, e.g. test_e2e.PauseTest]
#
# Uses the Wine session of the caller when WINEPREFIX is set (see wine_session.sh); otherwise
# starts one of its own (and Xvfb when DISPLAY is unset) and removes it afterwards. A 32-bit
# build is skipped, with the reason, on a host that cannot run 32-bit programs.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"

: "${SKERVO_BUILD:?SKERVO_BUILD must name the Windows build folder}"
SKERVO_BUILD="$(cd "$SKERVO_BUILD" && pwd)"
export SKERVO_BUILD

source "$here/wine_session.sh"
probe_32bit_host
if [ "$(program_bits "$SKERVO_BUILD/skervo.exe")" = 32 ] && [ "$SKERVO_32BIT" != yes ]; then
    echo "end-to-end tests of $SKERVO_BUILD/skervo.exe skipped: $SKERVO_32BIT_WHY"
    exit 0
fi
if [ -z "${WINEPREFIX:-}" ]; then
    trap stop_wine_session EXIT
    start_wine_session
fi

cd "$here"
if [ $# -eq 0 ]; then
    python3 -m unittest discover -v -s . -p 'test_*.py'
else
    python3 -m unittest -v "$@"
fi
