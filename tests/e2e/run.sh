#!/usr/bin/env bash
# Runs the end-to-end tests of skervo.exe under Wine.
#
#   SKERVO_BUILD=build/windows tests/e2e/run.sh [test names, e.g. test_e2e.PauseTest]
#
# Uses the Wine session of the caller when WINEPREFIX is set (see wine_session.sh); otherwise
# starts one of its own (and Xvfb when DISPLAY is unset) and removes it afterwards.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"

: "${SKERVO_BUILD:?SKERVO_BUILD must name the Windows build folder}"
SKERVO_BUILD="$(cd "$SKERVO_BUILD" && pwd)"
export SKERVO_BUILD

if [ -z "${WINEPREFIX:-}" ]; then
    source "$here/wine_session.sh"
    trap stop_wine_session EXIT
    start_wine_session
fi

cd "$here"
if [ $# -eq 0 ]; then
    python3 -m unittest discover -v -s . -p 'test_*.py'
else
    python3 -m unittest -v "$@"
fi
