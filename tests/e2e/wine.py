"""Which Wine loader runs a program. The decision is the one probe_32bit_host (wine_session.sh)
made and exported: 64-bit programs and Wine's own tools take the 64-bit loader, which works on
every host; 32-bit programs take the 32-bit one, on a host that was seen to run it."""

import os
from pathlib import Path

LOADER64 = os.environ.get("SKERVO_WINE64", "/usr/lib/wine/wine64")
LOADER32 = os.environ.get("SKERVO_WINE32", "/usr/lib/wine/wine")
RUNS_32BIT = os.environ.get("SKERVO_32BIT") == "yes"
WHY_NOT_32BIT = os.environ.get("SKERVO_32BIT_WHY") or "the host was not probed (wine_session.sh)"


def bits(program):
    """32 or 64, from the machine field of a PE file's header; Wine's own tools count as 64."""
    path = Path(program)
    if not path.is_file():
        return 64
    data = path.read_bytes()
    header = int.from_bytes(data[0x3C:0x40], "little")
    return 32 if int.from_bytes(data[header + 4 : header + 6], "little") == 0x14C else 64


def command(program, *args):
    """The command line that runs program under Wine."""
    loader = LOADER64
    if bits(program) == 32:
        if not RUNS_32BIT:
            raise RuntimeError(f"{program} is a 32-bit program: {WHY_NOT_32BIT}")
        loader = LOADER32
    return [loader, str(program), *map(str, args)]


def environment(base):
    """base, with the loader the processes a program starts take for their own kind."""
    return dict(base, WINEDEBUG="-all", WINELOADER=LOADER64)
