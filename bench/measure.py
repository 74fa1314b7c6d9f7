"""Measures skervo.exe under Wine, side by side with what it is compared with, and prints the
figures in the form of bench/RESULTS.md.

Needs DISPLAY and WINEPREFIX (a running session, see tests/e2e/wine_session.sh), SKERVO_BUILD
and SKERVO_BUILD32 (the 64-bit and 32-bit Windows build folders; the times are the 64-bit
program's, and the 32-bit one's launch overhead where the host runs 32-bit programs) and
BENCH_BUILD (the folder holding the helpers: do_nothing.exe, launch_loop.exe, sleeper.exe,
list_modules.exe and report_event.exe). Every time is a median of several runs (the idle cost: one
run each); runs of the things compared are interleaved, so that a slower moment of the machine
weighs on all of them alike. Measures named on the command line (journal, event...) are the only
ones taken.
"""

import datetime
import os
import platform
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path
from typing import NamedTuple

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
import wine as loader  # noqa: E402  the one place that picks Wine's loader

BUILD = Path(os.environ["SKERVO_BUILD"]).resolve()
BUILD32 = Path(os.environ["SKERVO_BUILD32"]).resolve()
BENCH = Path(os.environ["BENCH_BUILD"]).resolve()
SKERVO = BUILD / "skervo.exe"
SKERVO32 = BUILD32 / "skervo.exe"
PROBE = BUILD / "tests" / "e2e" / "console_probe.exe"


# Each program under the loader of its kind, which becomes the program it runs: Debian's `wine`
# would run a 64-bit program from a start.exe of the 32-bit loader's, and time start.exe.
ENV = loader.environment(os.environ)

RUNS = 5
SLEEPERS = 300  # idle processes that a closing line by path lists
CLOSING_LINES = 20
CLOSING_RUNS = 3  # a run of 20 listings of 300 processes takes half a minute under Wine
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")
COMMENT = b"# commentaire de lecture\r\n"
REM = b"rem commentaire de lecture\r\n"
SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll",
    "ole32.dll", "oleaut32.dll", "psapi.dll", "rasapi32.dll", "shell32.dll", "shlwapi.dll",
    "user32.dll", "version.dll",
}

# In the prefix's C:: every run is an administrator's under Wine, and refuses a script or a
# journal under /tmp, which everyone may change.
DRIVE_C = Path(os.environ["WINEPREFIX"]) / "drive_c"
work = Path(tempfile.mkdtemp(prefix="skervo-bench.", dir=DRIVE_C))


def windows_path(path):
    path = Path(path)
    if path.is_relative_to(DRIVE_C):
        return "C:\\" + str(path.relative_to(DRIVE_C)).replace("/", "\\")
    return "Z:" + str(path).replace("/", "\\")


def write(name, content):
    path = work / name
    path.write_bytes(content)
    return windows_path(path)


def wine(*args):
    return subprocess.Popen(loader.command(*args), env=ENV, cwd=work,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def processes_named(name):
    found = []
    for entry in Path("/proc").iterdir():
        try:
            if entry.name.isdigit() and name in (entry / "cmdline").read_bytes().decode("latin-1"):
                found.append(int(entry.name))
        except OSError:
            pass
    return found


def settle():
    """Waits until the programs that the last run started have ended."""
    deadline = time.monotonic() + 30
    while processes_named("do_nothing.exe") and time.monotonic() < deadline:
        time.sleep(0.1)


class Timing(NamedTuple):
    wall: float  # medians, in seconds
    cpu: float  # of the process itself, not of the Wine server
    wall_spread: float  # largest minus smallest
    cpu_spread: float


def run(*args):
    """Runs a program under Wine to its end; answers its wall-clock and CPU seconds."""
    started = time.monotonic()
    process = wine(*args)
    # Wine's loader becomes the Windows process itself: its usage is the program's.
    _, status, usage = os.wait4(process.pid, 0)
    process.returncode = os.waitstatus_to_exitcode(status)
    wall = time.monotonic() - started
    settle()
    if process.returncode != 0:
        sys.exit(f"bench: {args} ended with exit code {process.returncode}")
    return wall, usage.ru_utime + usage.ru_stime


def medians(commands, runs=RUNS):
    """The timing of each command, the commands taking turns."""
    times = {name: [] for name in commands}
    for _ in range(runs):
        for name, args in commands.items():
            times[name].append(run(*args))
    timings = {}
    for name, values in times.items():
        walls, cpus = zip(*values)
        timings[name] = Timing(statistics.median(walls), statistics.median(cpus),
                               max(walls) - min(walls), max(cpus) - min(cpus))
    return timings


def launch_overhead():
    program = windows_path(BENCH / "do_nothing.exe")
    skervo = write("lancement.skervo", (program + "\n").encode() * 100)
    empty = write("vide.skervo", b"#\n")
    batch = write("lancement.bat", b"@echo off\r\n" + f'start "" /b {program}\r\n'.encode() * 100)
    empty_batch = write("vide.bat", b"@echo off\r\n")
    loop = windows_path(BENCH / "launch_loop.exe")
    commands = {
        "skervo": (SKERVO, skervo, "/Silent"), "skervo0": (SKERVO, empty, "/Silent"),
        "loop": (loop, 100, program), "loop0": (loop, 0, program),
        "cmd": ("cmd", "/c", batch), "cmd0": ("cmd", "/c", empty_batch),
    }
    if loader.RUNS_32BIT:
        commands.update(skervo32=(SKERVO32, skervo, "/Silent"), skervo320=(SKERVO32, empty, "/Silent"))
    t = {name: timing.wall for name, timing in medians(commands).items()}
    each = {name: (t[name] - t[name + "0"]) / 100 for name in commands if name + "0" in commands}
    if loader.RUNS_32BIT:
        row32 = (f"| 32-bit skervo.exe, 100 plain lines | {t['skervo32']:.2f} s "
                 f"| {t['skervo320']:.2f} s | {each['skervo32'] * 1000:.1f} ms | |")
    else:
        row32 = f"| 32-bit skervo.exe | not measured: {loader.WHY_NOT_32BIT} | | | |"
    verdict = "met" if each["skervo"] <= 1.1 * each["loop"] else "NOT met"
    return [
        "## Launch overhead",
        "",
        "100 plain lines, each starting a console program that does nothing (silent run). "
        "Per launch: the time above the same program with nothing to start, divided by 100.",
        "",
        "| | 100 launches | nothing to start | per launch | Skervo / this |",
        "|---|---|---|---|---|",
        f"| skervo.exe, 100 plain lines | {t['skervo']:.2f} s | {t['skervo0']:.2f} s "
        f"| {each['skervo'] * 1000:.1f} ms | |",
        row32,
        f"| minimum: `bench/launch_loop.exe` (CreateProcessA, WaitForInputIdle, CloseHandle) "
        f"| {t['loop']:.2f} s | {t['loop0']:.2f} s | {each['loop'] * 1000:.1f} ms "
        f"| {each['skervo'] / each['loop']:.2f} |",
        f"| cmd.exe, 100 `start \"\" /b` lines | {t['cmd']:.2f} s | {t['cmd0']:.2f} s "
        f"| {each['cmd'] * 1000:.1f} ms | {each['skervo'] / each['cmd']:.2f} |",
        "",
        f"Target, within 10 % of the minimum per launch: {verdict}.",
        "",
    ]


def above(timing, baseline, field):
    """Time above the baseline, and its text: the baseline's spread when lost in it."""
    extra = getattr(timing, field) - getattr(baseline, field)
    noise = getattr(baseline, field + "_spread")
    if extra > noise:
        return extra, f"{extra * 1000:,.0f} ms"
    return noise, f"< {noise * 1000:,.0f} ms"


def per_second(count, extra):
    seconds, text = extra
    return f"> {count / seconds:,.0f}" if text.startswith("<") else f"{count / seconds:,.0f}"


def reading():
    empty = (SKERVO, write("vide.skervo", b"#\n"), "/Silent")
    empty_batch = ("cmd", "/c", write("vide.bat", b"@echo off\r\n"))
    rows, cpu_per_line = [], {}
    for lines in (10_000, 100_000, 1_000_000):
        script = (SKERVO, write(f"{lines}.skervo", COMMENT * lines), "/Silent")
        batch = ("cmd", "/c", write(f"{lines}.bat", b"@echo off\r\n" + REM * lines))
        # cmd.exe takes about a minute for a million lines: once is enough there.
        large = lines == 1_000_000
        s = medians({"run": script, "empty": empty}, 3 if large else RUNS)
        c = medians({"run": batch, "empty": empty_batch}, 1 if large else RUNS)
        wall, cpu = above(s["run"], s["empty"], "wall"), above(s["run"], s["empty"], "cpu")
        cmd = above(c["run"], c["empty"], "wall")
        cpu_per_line[lines] = cpu[0] / lines
        ratio = ("< " if wall[1].startswith("<") else "") + f"{wall[0] / cmd[0]:.3f}"
        rows.append(f"| {lines:,} | {wall[1]} | {cpu[1]} | {per_second(lines, cpu)} "
                    f"| {cmd[1]} | {per_second(lines, cmd)} | {ratio} |")

    size = 50 * 1024 * 1024
    long_line = (SKERVO, write("ligne.skervo", b"#" + b"x" * (size - 1)), "/Silent")
    t = medians({"run": long_line, "empty": empty}, 3)
    line_wall, line_cpu = above(t["run"], t["empty"], "wall"), above(t["run"], t["empty"], "cpu")
    visible = medians({"run": (SKERVO, write("visible.skervo", COMMENT * 100_000)),
                       "empty": (SKERVO, write("vide.skervo", b"#\n"))}, 3)
    visible_wall = (visible["run"].wall - visible["empty"].wall) / 100_000
    visible_cpu = (visible["run"].cpu - visible["empty"].cpu) / 100_000
    return [
        "## Reading",
        "",
        "Silent runs of scripts of comment lines (26 bytes each, CR LF), against cmd.exe on a "
        "batch file of as many `rem` lines (one run of cmd.exe for a million). Times are above "
        f"runs of an empty script, or batch file, taking turns with them ({s['empty'].wall:.2f} s "
        f"for skervo.exe, whose end waits 500 ms; {c['empty'].wall:.2f} s for cmd.exe); a time "
        "lost in the spread of those runs is given as that spread. skervo.exe's lines per second "
        "come from its own CPU time, which Wine's start and the end's wait hardly blur; cmd.exe "
        "reads its batch file through the Wine server, so its wall-clock time is compared.",
        "",
        "| lines | skervo.exe | its CPU time | lines/s | cmd.exe | lines/s | Skervo / cmd |",
        "|---|---|---|---|---|---|---|",
        *rows,
        "",
        f"Growth: a line of the 1,000,000-line script costs "
        f"{cpu_per_line[1_000_000] / cpu_per_line[100_000]:.2f} times the CPU time of one of the "
        "100,000-line script (1.00 is linear).",
        "",
        f"One line of 50 MB: {line_wall[1]} above the empty script, {line_cpu[1]} of CPU time "
        f"({per_second(50, line_cpu)} MB/s).",
        "",
        f"Visible run of 100,000 comment lines: {visible['run'].wall:.2f} s, against "
        f"{visible['empty'].wall:.2f} s for an empty script with its window: "
        f"{visible_wall * 1e6:.1f} µs per line, {visible_cpu * 1e6:.1f} µs of it skervo.exe's CPU "
        "time. The status window's messages are polled before every line, a call to the Wine "
        "server each; the notification icon's tip, the same for every line, is set once.",
        "",
    ]


def sleepers_of(program):
    """The sleepers running, by process id."""
    return processes_named(windows_path(program))


def start_sleepers(program):
    # Named as the copies name themselves, so that the first is found with them.
    launcher = wine(windows_path(program), 3600, SLEEPERS - 1)
    deadline = time.monotonic() + 120
    while (running := len(sleepers_of(program))) < SLEEPERS:
        if time.monotonic() > deadline or launcher.poll() is not None:
            stop_sleepers(program, launcher)
            sys.exit(f"bench: only {running} of {SLEEPERS} sleepers started")
        time.sleep(0.5)
    return launcher


def stop_sleepers(program, launcher):
    for pid in {launcher.pid, *sleepers_of(program)}:
        try:
            os.kill(pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
    launcher.wait()
    deadline = time.monotonic() + 30
    while sleepers_of(program) and time.monotonic() < deadline:
        time.sleep(0.1)


def listing_seen(list_modules):
    """Processes listed, those opened, and the module names read, by one listing."""
    output = subprocess.run(loader.command(list_modules, "1"), env=ENV, cwd=work,
                            capture_output=True, text=True, check=True).stdout
    return tuple(int(field) for field in output.split())


def closing_by_path():
    sleeper = work / "sleeper.exe"
    sleeper.write_bytes((BENCH / "sleeper.exe").read_bytes())
    # A program that exists and that no process runs: the lines close nothing.
    target = work / "programme_absent.exe"
    target.write_bytes((BENCH / "do_nothing.exe").read_bytes())
    lines = write("fermeture.skervo", f"<{windows_path(target)}\r\n".encode() * CLOSING_LINES)
    empty = write("vide.skervo", b"#\n")
    list_modules = BENCH / "list_modules.exe"
    launcher = start_sleepers(sleeper)
    try:
        seen = listing_seen(list_modules)
        t = medians({
            "skervo": (SKERVO, lines, "/Silent"), "skervo0": (SKERVO, empty, "/Silent"),
            "list": (list_modules, CLOSING_LINES), "list0": (list_modules, 0),
        }, CLOSING_RUNS)
        still = len(sleepers_of(sleeper))
    finally:
        stop_sleepers(sleeper, launcher)
    if still < SLEEPERS:
        sys.exit(f"bench: only {still} of {SLEEPERS} sleepers outlived the closing measurement")
    t = {name: timing.wall for name, timing in t.items()}
    each = {name: (t[name] - t[name + "0"]) / CLOSING_LINES for name in ("skervo", "list")}
    processes, opened, modules = seen[0], seen[1], seen[3]
    verdict = "met" if each["skervo"] <= 1.5 * each["list"] else "NOT met"
    return [
        "## Closing by path",
        "",
        f"A silent run of {CLOSING_LINES} `<path` lines, each naming an existing program that "
        f"no process runs, while {SLEEPERS} idle console programs run besides the session's own "
        "processes, against `bench/list_modules.exe` listing the processes and their modules "
        f"as many times with the same calls; per line, the time above a run with nothing to do "
        f"(an empty script, or no listing), divided by {CLOSING_LINES}. Medians of "
        f"{CLOSING_RUNS} runs.",
        "",
        f"Each listing saw {processes:,} processes, opened {opened:,} of them and read the file "
        f"names of {modules:,} modules.",
        "",
        f"| | {CLOSING_LINES} lines or listings | nothing to do | per line | per process "
        "| Skervo / this |",
        "|---|---|---|---|---|---|",
        f"| skervo.exe, {CLOSING_LINES} `<path` lines | {t['skervo']:.2f} s "
        f"| {t['skervo0']:.2f} s | {each['skervo'] * 1000:,.0f} ms "
        f"| {each['skervo'] / processes * 1000:.2f} ms | |",
        "| minimum: `bench/list_modules.exe` (EnumProcesses, then for each process OpenProcess, "
        "EnumProcessModules, GetModuleFileNameExA of each module, CloseHandle) "
        f"| {t['list']:.2f} s | {t['list0']:.2f} s | {each['list'] * 1000:,.0f} ms "
        f"| {each['list'] / processes * 1000:.2f} ms | {each['skervo'] / each['list']:.2f} |",
        "",
        f"Target, a line within 1.5 times the listing: {verdict}.",
        "",
    ]


def cpu_seconds(pid):
    fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS


def wineserver_pid():
    """The server of this session's prefix works in a folder named after the prefix's inode."""
    prefix = os.stat(os.environ["WINEPREFIX"])
    folder = f"server-{prefix.st_dev:x}-{prefix.st_ino:x}"
    for pid in processes_named("wineserver"):
        try:
            if Path(os.readlink(f"/proc/{pid}/cwd")).name == folder:
                return pid
        except OSError:
            pass
    sys.exit("bench: the session's wineserver was not found")


def idle_share(*args):
    """CPU share of one core that skervo.exe and the Wine server use from 3 s to 18 s."""
    server = wineserver_pid()
    process = wine(SKERVO, *args)
    time.sleep(3)
    own, served, started = cpu_seconds(process.pid), cpu_seconds(server), time.monotonic()
    time.sleep(15)
    own = cpu_seconds(process.pid) - own
    served = cpu_seconds(server) - served
    elapsed = time.monotonic() - started
    process.wait(timeout=60)
    return own / elapsed, served / elapsed


def idle_cost():
    pause = write("pause.skervo", b"@20\n#\n")
    probe = work / "console_probe.exe"
    probe.write_bytes(PROBE.read_bytes())
    wait = write("attente.skervo", f"@{windows_path(probe)} sleep=20000\n#\n".encode())
    rows = []
    for name, args in [
        ("pause of 20 s, silent", (pause, "/Silent")),
        ("pause of 20 s, with the status window", (pause,)),
        ("wait for a program's end (20 s), silent", (wait, "/Silent")),
        ("wait for a program's end (20 s), with the status window", (wait,)),
    ]:
        own, served = idle_share(*args)
        rows.append(f"| {name} | {own * 100:.2f} % | {served * 100:.2f} % |")
    return [
        "## Idle cost",
        "",
        "CPU time used from the 3rd to the 18th second of one run, as a share of one core "
        "(from /proc/<pid>/stat), by skervo.exe and by the Wine server that answers its calls "
        "(and those of the session's own Wine processes). Target: under 1 %.",
        "",
        "| run | skervo.exe | wineserver |",
        "|---|---|---|",
        *rows,
        "",
    ]


SKERVO_LIMIT = 150 * 1024


class Program(NamedTuple):
    name: str
    path: Path
    objdump: str
    runner: Path | None = None  # for a checker: the skervo.exe of its kind, which it stays under

    def limit(self):
        """The largest size met."""
        return self.runner.stat().st_size - 1 if self.runner else SKERVO_LIMIT

    def target(self):
        if self.runner:
            return "smaller than skervo.exe"
        return f"at most {SKERVO_LIMIT:,} bytes ({SKERVO_LIMIT // 1024} KB)"


PROGRAMS = [
    Program("64-bit", SKERVO, "x86_64-w64-mingw32-objdump"),
    Program("32-bit", SKERVO32, "i686-w64-mingw32-objdump"),
    Program("checker 64-bit", BUILD / "skervo-check.exe", "x86_64-w64-mingw32-objdump", SKERVO),
    Program("checker 32-bit", BUILD32 / "skervo-check.exe", "i686-w64-mingw32-objdump", SKERVO32),
]
# An image's section header holds 8 characters of the name.
SECTION_NAMES = {".eh_fram": ".eh_frame"}
SECTION_CONTENTS = {
    ".text": "code",
    ".rdata": "constant data: texts, tables",
    ".rsrc": "resources: pictures, icons, manifest, version record",
    ".pdata": "exception unwinding: function table",
    ".xdata": "exception unwinding: unwind codes",
    ".eh_frame": "exception unwinding: DWARF frame records",
    ".reloc": "relocations",
    ".idata": "imports",
    ".data": "initialised variables",
    ".CRT": "C runtime start-up and exit tables",
    ".tls": "thread-local storage",
    "headers": "DOS stub, PE and section headers",
}


def objdump(program, option):
    return subprocess.run([program.objdump, option, str(program.path)], capture_output=True,
                          text=True, check=True).stdout


def imported_dlls(program):
    return sorted({line.split(":", 1)[1].strip().lower()
                   for line in objdump(program, "-p").splitlines() if "DLL Name:" in line})


def section_room(program):
    """The bytes each section takes in the file, up to the next one: they add up to the size."""
    lines = objdump(program, "-h").splitlines()
    placed = []
    for line, flags in zip(lines, lines[1:]):
        fields = line.split()
        if len(fields) == 7 and fields[0].isdigit() and "CONTENTS" in flags:
            placed.append((int(fields[5], 16), SECTION_NAMES.get(fields[1], fields[1])))
    placed.sort()
    ends = [offset for offset, _ in placed[1:]] + [program.path.stat().st_size]
    room = {name: end - offset for (offset, name), end in zip(placed, ends)}
    room["headers"] = placed[0][0]
    return room


def footprint():
    rows, rooms = [], {}
    for program in PROGRAMS:
        size = program.path.stat().st_size
        dlls = imported_dlls(program)
        others = [dll for dll in dlls if dll not in SYSTEM_DLLS]
        verdict = "met" if size <= program.limit() and not others else "NOT met"
        imports = "system DLLs only" if not others else f"NOT only system DLLs: {', '.join(others)}"
        rows.append(f"| {program.name}, `{os.path.relpath(program.path, ROOT)}` | {size:,} bytes "
                    f"({size / 1024:.0f} KB) | {', '.join(dlls)} ({imports}) | {program.target()} "
                    f"| {verdict} |")
        rooms[program.name] = section_room(program)
    names = sorted({name for room in rooms.values() for name in room},
                   key=lambda name: (-max(room.get(name, 0) for room in rooms.values()), name))
    sections = [f"| {name} | {SECTION_CONTENTS.get(name, '')} | "
                + " | ".join(f"{rooms[program.name][name]:,}" if name in rooms[program.name]
                             else "-" for program in PROGRAMS) + " |" for name in names]
    return [
        "## Footprint",
        "",
        "Each program's target: its size, and imports of system DLLs only.",
        "",
        "| program | size | imports | size target | target |",
        "|---|---|---|---|---|",
        *rows,
        "",
        "What takes the room, in bytes: each section from its place in the file to the next "
        "one's (from `x86_64-w64-mingw32-objdump -h` and `i686-w64-mingw32-objdump -h`), so "
        "that they add up to the program's size.",
        "",
        "| section | holds | " + " | ".join(program.name for program in PROGRAMS) + " |",
        "|---|---|" + "---|" * len(PROGRAMS),
        *sections,
        "| total | | " + " | ".join(f"{program.path.stat().st_size:,}" for program in PROGRAMS)
        + " |",
        "",
    ]


JOURNAL_LINES = 10_000
HIDE = b"-\r\n"  # in a silent run, an entry "sans effet : pas de fenêtre de suivi"


def journal():
    script = write("journal.skervo", HIDE * JOURNAL_LINES)
    log = work / "journal.log"
    t = medians({"with": (SKERVO, script, "/Silent", f"/Journal:{windows_path(log)}"),
                 "without": (SKERVO, script, "/Silent")})
    entries = log.read_bytes().count(b"\r\n")
    if entries != RUNS * (JOURNAL_LINES + 2):
        sys.exit(f"bench: the journal holds {entries} lines, not {RUNS * (JOURNAL_LINES + 2)}")
    log.unlink()
    wall, cpu = above(t["with"], t["without"], "wall"), above(t["with"], t["without"], "cpu")
    return [
        "## Journal",
        "",
        f"Silent runs of {JOURNAL_LINES:,} `-` lines, each of which writes an entry to the journal "
        "(a lock, a seek to the end, one write, an unlock), with `/Journal` and without it, taking "
        "turns; per line, the time above the run without a journal.",
        "",
        "| | with `/Journal` | without | above | per line | its CPU time per line |",
        "|---|---|---|---|---|---|",
        f"| {JOURNAL_LINES:,} lines | {t['with'].wall:.2f} s | {t['without'].wall:.2f} s "
        f"| {wall[1]} | {wall[0] / JOURNAL_LINES * 1e6:.1f} µs "
        f"| {cpu[0] / JOURNAL_LINES * 1e6:.1f} µs |",
        "",
        f"Target, under 1 ms a line: {'met' if wall[0] / JOURNAL_LINES < 1e-3 else 'missed'}.",
        "",
    ]


EVENTS = 1000


def event():
    helper = subprocess.run(loader.command(BENCH / "report_event.exe", EVENTS), env=ENV, cwd=work,
                            capture_output=True, text=True, check=True)
    each = float(helper.stdout) / 1000  # ms
    empty = write("vide.skervo", b"#\n")
    t = medians({"with": (SKERVO, empty, "/Silent", "/Delai:60"), "without": (SKERVO, empty, "/Silent")})
    wall, cpu = above(t["with"], t["without"], "wall"), above(t["with"], t["without"], "cpu")
    return [
        "## Event",
        "",
        "The event that ends a run with `/Journal` or `/Delai`: `bench/report_event.exe` makes its calls "
        f"(RegisterEventSourceA, ReportEventA with its five strings, DeregisterEventSource) {EVENTS:,} "
        "times; and silent runs of an empty script with `/Delai:60`, which end with the event, and "
        "without it, taking turns. Wine writes no event (its ReportEventW prints the strings on a "
        "debug channel, off here): on Windows, the event log service's own work comes on top.",
        "",
        "| | time |",
        "|---|---|",
        f"| one event, `bench/report_event.exe` | {each * 1000:.1f} µs |",
        f"| an empty script with `/Delai:60` ({t['with'].wall:.2f} s), above one without "
        f"({t['without'].wall:.2f} s) | {wall[1]}, {cpu[1]} of CPU time |",
        "",
        f"Target, under 10 ms an event: {'met' if each < 10 else 'missed'}.",
        "",
    ]


def machine():
    model = next((line.split(":", 1)[1].strip() for line in open("/proc/cpuinfo")
                  if line.startswith("model name")), platform.processor())
    wine_version = subprocess.run([loader.LOADER64, "--version"], capture_output=True, text=True,
                                  env=ENV).stdout.strip()
    return (f"{os.cpu_count()} CPUs ({model}), {platform.system()} {platform.release()}, "
            f"{wine_version}, X display from Xvfb")


MEASURES = (launch_overhead, reading, journal, event, closing_by_path, idle_cost, footprint)


def main(names):
    print("# Benchmark results")
    print()
    print(f"Measured with `bash bench/run` on {datetime.date.today()}: {machine()}. "
          f"Times are medians of {RUNS} runs unless said otherwise, and the 64-bit program's "
          f"but for the launch overhead's 32-bit row.")
    if not loader.RUNS_32BIT:
        print()
        print(f"The 32-bit program was not run ({loader.WHY_NOT_32BIT}): only its footprint and "
              f"imports are measured.")
    print()
    for measure in MEASURES:
        if not names or measure.__name__ in names:
            print("\n".join(measure()), flush=True)


if __name__ == "__main__":
    try:
        main(sys.argv[1:])
    finally:
        shutil.rmtree(work)
