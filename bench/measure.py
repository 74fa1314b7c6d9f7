"""Measures skervo.exe under Wine, side by side with what it is compared with, and prints the
figures in the form of bench/RESULTS.md.

Needs DISPLAY and WINEPREFIX (a running session, see tests/e2e/wine_session.sh), SKERVO_BUILD
(the Windows build folder) and BENCH_BUILD (the folder holding do_nothing.exe and
launch_loop.exe). Every time is a median of several runs (the idle cost: one run each); runs
of the things compared are interleaved, so that a slower moment of the machine weighs on all of
them alike.
"""

import datetime
import os
import platform
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path
from typing import NamedTuple

BUILD = Path(os.environ["SKERVO_BUILD"]).resolve()
BENCH = Path(os.environ["BENCH_BUILD"]).resolve()
SKERVO = BUILD / "skervo.exe"
PROBE = BUILD / "tests" / "e2e" / "console_probe.exe"
ENV = dict(os.environ, WINEDEBUG="-all")
RUNS = 5
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")
COMMENT = b"# commentaire de lecture\r\n"
REM = b"rem commentaire de lecture\r\n"
SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll",
    "ole32.dll", "oleaut32.dll", "psapi.dll", "rasapi32.dll", "shell32.dll", "shlwapi.dll",
    "user32.dll", "version.dll",
}

work = Path(tempfile.mkdtemp(prefix="skervo-bench."))


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def write(name, content):
    path = work / name
    path.write_bytes(content)
    return windows_path(path)


def wine(*args):
    return subprocess.Popen(["wine", *map(str, args)], env=ENV, cwd=work,
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
    t = medians({
        "skervo": (SKERVO, skervo, "/Silent"), "skervo0": (SKERVO, empty, "/Silent"),
        "loop": (loop, 100, program), "loop0": (loop, 0, program),
        "cmd": ("cmd", "/c", batch), "cmd0": ("cmd", "/c", empty_batch),
    })
    t = {name: timing.wall for name, timing in t.items()}
    each = {name: (t[name] - t[name + "0"]) / 100 for name in ("skervo", "loop", "cmd")}
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


def footprint():
    dump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", str(SKERVO)],
                          capture_output=True, text=True, check=True).stdout
    dlls = sorted({line.split(":", 1)[1].strip().lower() for line in dump.splitlines()
                   if "DLL Name:" in line})
    others = [dll for dll in dlls if dll not in SYSTEM_DLLS]
    size = SKERVO.stat().st_size
    verdict = "met" if size < 300 * 1024 and not others else "NOT met"
    return [
        "## Footprint",
        "",
        f"skervo.exe: {size:,} bytes ({size / 1024:.0f} KB). It imports "
        f"{', '.join(dlls)}: " + ("system DLLs only." if not others else
                                  f"NOT only system DLLs ({', '.join(others)})."),
        "",
        f"Target, under 300 KB and system DLLs only: {verdict}.",
        "",
    ]


def machine():
    model = next((line.split(":", 1)[1].strip() for line in open("/proc/cpuinfo")
                  if line.startswith("model name")), platform.processor())
    wine_version = subprocess.run(["wine", "--version"], capture_output=True, text=True,
                                  env=ENV).stdout.strip()
    return (f"{os.cpu_count()} CPUs ({model}), {platform.system()} {platform.release()}, "
            f"{wine_version}, X display from Xvfb")


def main():
    print("# Benchmark results")
    print()
    print(f"Measured with `bash bench/run` on {datetime.date.today()}: {machine()}. "
          f"Times are medians of {RUNS} runs unless said otherwise.")
    print()
    for measure in (launch_overhead, reading, idle_cost, footprint):
        print("\n".join(measure()), flush=True)


if __name__ == "__main__":
    try:
        main()
    finally:
        shutil.rmtree(work)
