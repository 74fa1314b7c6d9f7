"""End-to-end runs of hostile scripts: however large or strange its lines, each run ends
normally, with exit code 0 and the boxes its lines call for."""

import random
import subprocess
import threading
import time
import unittest
from pathlib import Path

import test_e2e
from test_e2e import CAPTION, run_skervo, script, session, windows_path
from test_programs import copy_helper, folder, run_script

setUpModule = test_e2e.setUpModule
tearDownModule = test_e2e.tearDownModule

PREFIX = "Erreur : Impossible d'exécuter : ".encode("cp1252")
# Bytes that Windows-1252 leaves undefined do not survive the box's trip through Unicode.
UNDEFINED = {0x81, 0x8D, 0x8F, 0x90, 0x9D}
# What the system can show of a box's text (see ui/notices.cpp).
LONGEST_BOX_TEXT = 32766


def shown(line):
    """A line (bytes) as a box shows it: a control byte but the tab, and 0x7F, as \\xHH."""
    return b"".join(b"\\x%02X" % byte if (byte < 0x20 and byte != 9) or byte == 0x7F else bytes([byte])
                    for byte in line)


def not_run(line):
    """The box of a line (bytes) that nothing could carry out."""
    return (CAPTION, "error", PREFIX + shown(line))


def trimmed(line):
    return line.strip(bytes(range(33)))


def garbage_line(rng):
    """Random bytes, NUL included, that make a plain line: no line end, no Ctrl-Z, and no
    command character in front."""
    allowed = [b for b in range(256) if b not in (10, 13, 26) and b not in UNDEFINED]
    while True:
        line = bytes(rng.choice(allowed) for _ in range(rng.randint(1, 80)))
        first = trimmed(line)[:1]
        if first and first not in b"#<>@&-+":
            return line


def fresh_folder_path(length):
    """A script path of exactly length characters, in nested folders that exist."""
    base = folder("long")
    path = base
    while len(windows_path(path)) < length - 60:
        path = path / ("d" * 40)
    path.mkdir(parents=True, exist_ok=True)
    name = "s" * (length - len(windows_path(path)) - len("\\.skervo")) + ".skervo"
    return path / name


class GarbageTest(unittest.TestCase):
    def test_binary_garbage_gives_one_box_per_line(self):
        rng = random.Random(2024)
        lines = [garbage_line(rng) for _ in range(20)]
        ends = [b"\n", b"\r\n", b"\r\r\n"]
        content = b"".join(line + rng.choice(ends) for line in lines)
        # Nothing after a Ctrl-Z is read.
        content += b"\x1a" + garbage_line(rng) + b"\n"
        expected = [not_run(trimmed(line)) for line in lines]
        code, boxes, _ = run_skervo(script("dechets.skervo", content))
        self.assertEqual((code, boxes), (0, expected))

    def test_lines_of_quotes(self):
        quotes = ['"', '""', '"""', '"' * 101]
        content = "".join(f"{q}\n>{q}\n<{q}\n<<{q}\n@{q}\n" for q in quotes) + "#\n"
        # <x with quotes only closes nothing and says nothing; the others cannot run.
        expected = [not_run(q.encode()) for q in quotes for _ in ("plain", ">", "@")]
        code, boxes, _ = run_script(content, "/Silent")
        self.assertEqual((code, boxes), (0, expected))


class SizeTest(unittest.TestCase):
    def test_lines_longer_than_a_box_can_show(self):
        # The box shows the start of the line. Such a box is larger than the screen, where
        # the recorder cannot see its icon: only its caption and text are compared.
        for length in (40_000, 50 * 1024 * 1024):
            with self.subTest(length=length):
                line = b"C:\\" + b"x" * length
                code, boxes, _ = run_skervo(script("grande.skervo", line + b"\n"), "/Silent")
                shown = [(caption, text) for caption, _, text in boxes]
                expected = [(CAPTION, (PREFIX + line)[:LONGEST_BOX_TEXT])]
                self.assertEqual((code, shown), (0, expected))

    def test_10000_lines_are_all_read_in_order(self):
        kinds = ["# commentaire {}", "", "-", "+", "<titre introuvable {}", "  \t", "\x01"]
        lines = [kinds[i % len(kinds)].format(i) for i in range(10_000)]
        for i in (0, 4_999, 9_999):
            lines[i] = f"inconnu_{i}"
        code, boxes, _ = run_skervo(script("dix_mille.skervo", "\n".join(lines).encode()))
        expected = [not_run(f"inconnu_{i}".encode()) for i in (0, 4_999, 9_999)]
        self.assertEqual((code, boxes), (0, expected))

    def test_paths_and_titles_of_1000_characters(self):
        # Blanks let the boxes wrap their text and stay within the screen.
        long_path = ("C:\\" + "dossier numero 1\\" * 60)[:996] + ".exe"
        plain = ("mot " * 250)[:999] + "z"
        content = f"<{'t' * 1000}\n<<{long_path}\n{plain}\n>{long_path}\n@{long_path}\n#\n"
        expected = [not_run(plain.encode()), not_run(long_path.encode()),
                    not_run(long_path.encode())]
        code, boxes, _ = run_script(content)
        self.assertEqual((code, boxes), (0, expected))

    def test_long_script_paths(self):
        line = b"inconnu_chemin_long"
        # Longer than the 127 characters of the notification icon's tip.
        path = fresh_folder_path(250)
        path.write_bytes(line + b"\n")
        self.assertEqual(run_skervo(windows_path(path))[:2], (0, [not_run(line)]))
        # Beyond the 260 characters of a Windows path, the script cannot be opened: nothing
        # is read and, as for any script that cannot be opened, nothing is reported.
        path = fresh_folder_path(300)
        path.write_bytes(line + b"\n")
        self.assertEqual(run_skervo(windows_path(path))[:2], (0, []))


class ManyProgramsTest(unittest.TestCase):
    def test_200_started_applications_are_all_closed_at_the_end(self):
        into = folder("deux_cents")
        app = copy_helper("windowed_app.exe", into)
        probe = copy_helper("console_probe.exe", into)
        lines = "".join(f">{app} Hostile {n:03}\n" for n in range(200))
        # The script waits for the probe, which waits until every window has been counted
        # (or three minutes passed: on a busy machine starting 200 applications under Wine
        # takes more than one): the end of the run then finds all 200 applications up.
        most = []

        def count_then_release():
            most.append(self.most_windows(200))
            (into / "compte").touch()

        counter = threading.Thread(target=count_then_release)
        counter.start()
        code, boxes, _ = run_script(lines + f"@{probe} until=compte\n#\n", "/Silent", timeout=240)
        counter.join()
        self.assertEqual((code, boxes, most), (0, [], [200]))
        # The run posts WM_CLOSE to each and ends: on a loaded machine Wine takes more than
        # 20 s to take 200 windows down.
        deadline = time.monotonic() + 90
        while self.windows_left() and time.monotonic() < deadline:
            time.sleep(0.2)
        self.assertEqual(self.windows_left(), [])

    def most_windows(self, expected):
        """The most windows seen at once, until that is the expected count or 180 s passed."""
        most, deadline = 0, time.monotonic() + 180
        while most < expected and time.monotonic() < deadline:
            most = max(most, len(self.windows_left()))
            time.sleep(0.5)
        return most

    @staticmethod
    def windows_left():
        found = subprocess.run(["xdotool", "search", "--name", "^Hostile "],
                               capture_output=True, text=True)
        return found.stdout.split()


class CountTest(unittest.TestCase):
    def test_counts_that_pause_nothing_or_are_no_number(self):
        # A count of 0 pauses one pass at most, a negative one not at all; 99999999999 does
        # not fit in 32 bits: it is a program to start and wait for.
        content = b"@0\n@-1\n@-2147483648\n@$FFFFFFFF\n@99999999999\n#\n"
        code, boxes, _ = run_skervo(script("comptes.skervo", content))
        self.assertEqual((code, boxes), (0, [not_run(b"99999999999")]))


if __name__ == "__main__":
    unittest.main(verbosity=2)
