"""End-to-end tests of the lines that start, wait for, close and kill programs and control
services, with helper programs of the project's own (see helpers/)."""

import shutil
import subprocess
import time
import unittest
from pathlib import Path

import test_e2e
import wine
from test_e2e import (
    BUILD,
    ENV,
    OTHER_BUILD,
    close_log,
    not_run,
    noted_lines,
    run_skervo,
    session,
    settled,
    windows_path,
)

setUpModule = test_e2e.setUpModule
tearDownModule = test_e2e.tearDownModule

HELPERS = BUILD / "tests" / "e2e"


def folder(name):
    """A fresh folder of the session's, which may hold blanks."""
    path = Path(session["folder"].name) / name
    shutil.rmtree(path, ignore_errors=True)
    path.mkdir()
    return path


def copy_helper(program, into, helpers=HELPERS):
    """A copy of a helper program in a folder of its own; answers its Windows path."""
    shutil.copy(helpers / program, into / program)
    return windows_path(into / program)


def run_script(content, *switches, timeout=90):
    """Runs a script, text in Windows-1252 or bytes as they are to be on disk."""
    path = Path(session["folder"].name) / "programmes.skervo"
    path.write_bytes(content if isinstance(content, bytes) else content.encode("cp1252"))
    return run_skervo(windows_path(path), *switches, timeout=timeout)


def probe_log(into, expected=0):
    """The command lines and current directories the console probe noted, in order."""
    return noted_lines(into / "probe.log", expected)


def windows_titled(title):
    """Visible X windows with this title on the test display."""
    found = subprocess.run(["xdotool", "search", "--name", title], capture_output=True, text=True)
    return found.stdout.split()


def gone(title):
    """True once no window has this title; a killed process's window takes a moment to go."""
    return settled(lambda: windows_titled(title), lambda found: not found) == []


def wine_command(*args):
    return subprocess.run(wine.command(*args), env=ENV, capture_output=True).stdout.decode("cp1252")


class LaunchTest(unittest.TestCase):
    def test_plain_lines_build_the_command_line_and_current_directory(self):
        plain = folder("simple")
        blanks = folder("dossier avec blancs")
        probe = copy_helper("console_probe.exe", plain)
        spaced = copy_helper("console_probe.exe", blanks)
        code, boxes, _ = run_script(f'{probe} /jour "a b"\n{spaced}\n', "/Silent")
        self.assertEqual((code, boxes), (0, []))
        # Two blanks before the arguments; one after a bare, quoted path.
        self.assertEqual(probe_log(plain, 2), [f'cmd="{probe}"  /jour "a b"', f"dir={windows_path(plain)}"])
        self.assertEqual(probe_log(blanks, 2), [f'cmd="{spaced}" ', f"dir={windows_path(blanks)}"])

    def test_at_waits_for_the_end_of_the_program(self):
        waiting = folder("attente")
        probe = copy_helper("console_probe.exe", waiting)
        code, boxes, seconds = run_script(f"@{probe} sleep=2000\n#\n", "/Silent")
        self.assertEqual((code, boxes), (0, []))
        self.assertGreaterEqual(seconds, 2.0)
        self.assertEqual(len(probe_log(waiting)), 2)

    def test_a_document_or_a_folder_is_never_run_as_a_program(self):
        # Programs named like a document, like a folder's first word, and with no extension.
        shared = folder("commun")
        for name in ("rapport.pdf", "Rapports.exe", "LISEZMOI"):
            copy_helper("console_probe.exe", shared)
            (shared / "console_probe.exe").rename(shared / name)
        (shared / "Rapports 2024").mkdir()
        (shared / "Rapports 2024 Ω").mkdir()
        named = [
            windows_path(shared / "rapport.pdf"),
            windows_path(shared / "Rapports 2024"),
            windows_path(shared / "Rapports 2024" / "bilan.pdf"),  # absent
            windows_path(shared / "Rapports 2024 Ω"),  # Ω is no letter of the ANSI code page
            windows_path(shared / "LISEZMOI"),
            f'"{windows_path(shared / "rapport.pdf")}"',
            windows_path(shared / "rapport.pdf") + "::$DATA",
        ]
        code, boxes, _ = run_script("".join(line + "\n" for line in named).encode("utf-8"), "/Silent")
        time.sleep(1)
        self.assertEqual(probe_log(shared), [], "a program ran")
        # Wine's shell names no default command: what a double-click does is not done either.
        lines = [line.replace("Ω", "?") for line in named]
        self.assertEqual((code, boxes), (0, [not_run(line) for line in lines]))

    def test_a_document_line_ends_in_the_error_box(self):
        # Wine's shell names no default command for a document (see the design notes).
        document = folder("documents") / "note.txt"
        document.write_text("bonjour")
        line = windows_path(document)
        self.assertEqual(run_script(line + "\n", "/Silent")[:2], (0, [not_run(line)]))


class ClosingTest(unittest.TestCase):
    def test_started_applications_are_closed_or_killed_at_the_end(self):
        apps = folder("fin")
        app = copy_helper("windowed_app.exe", apps)
        code, boxes, _ = run_script(
            f">{app} Fenetre A|ignore\n>>{app} Fenetre B|ignore\n>{app} Fenetre C|ignore\n", "/Silent"
        )
        self.assertEqual((code, boxes), (0, []))
        # A and C are asked to close (they refuse, and stay); B is killed without a question.
        self.assertEqual(close_log(apps, 2), ["WM_CLOSE Fenetre A", "WM_CLOSE Fenetre C"])
        self.assertTrue(gone("Fenetre B"))
        self.assertEqual(len(windows_titled("Fenetre A")), 1)
        run_script(f"<<{app}\n", "/Silent")

    def test_a_path_closes_or_kills_every_copy(self):
        # A 32-bit program cannot read the modules of a 64-bit process: the application of the
        # other architecture is found by its path all the same.
        other = OTHER_BUILD / "tests" / "e2e" if OTHER_BUILD else None
        for name, helpers in [("same", HELPERS), ("other", other)]:
            with self.subTest(architecture=name):
                if helpers is None:
                    self.skipTest("SKERVO_OTHER_BUILD is not set: the other architecture is not built")
                if helpers is other and not wine.RUNS_32BIT:
                    self.skipTest("the 32-bit helpers cannot run: " + wine.WHY_NOT_32BIT)
                apps = folder("copies_" + name)
                app = copy_helper("windowed_app.exe", apps, helpers)
                start = f"{app} Copie 1|ignore\n{app} Copie 2|ignore hidden\n"
                code, boxes, _ = run_script(start + f"<{app.upper()}\n", "/Silent")
                self.assertEqual((code, boxes), (0, []))
                self.assertEqual(close_log(apps, 2), ["WM_CLOSE Copie 1", "WM_CLOSE Copie 2"])
                self.assertEqual(len(windows_titled("Copie 1")), 1)
                code, boxes, _ = run_script(f"<<{app}\n", "/Silent")
                self.assertEqual((code, boxes), (0, []))
                self.assertTrue(gone("Copie 1"))
                self.assertEqual(len(close_log(apps)), 2, "killed, not asked")

    def test_a_title_fragment_closes_only_matching_windows(self):
        apps = folder("titres")
        app = copy_helper("windowed_app.exe", apps)
        script = f"{app} Rapport du jour\n{app} Autre fenetre\n<port du j\n<<autre FENETRE\n"
        self.assertEqual(run_script(script, "/Silent")[:2], (0, []))
        time.sleep(0.5)
        self.assertEqual(close_log(apps, 1), ["WM_CLOSE Rapport du jour"])
        self.assertEqual(len(windows_titled("Autre fenetre")), 1, "case counts")
        run_script(f"<<{app}\n", "/Silent")


class ServiceTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        service = copy_helper("test_service.exe", folder("service"))
        wine_command("sc", "create", "SkervoTest", "binpath=", service)

    @classmethod
    def tearDownClass(cls):
        wine_command("sc", "stop", "SkervoTest")
        wine_command("sc", "delete", "SkervoTest")

    def state(self):
        return wine_command("sc", "query", "SkervoTest")

    def test_start_and_stop_with_wait(self):
        self.assertEqual(run_script("@NETSTART SkervoTest\n#\n", "/Silent")[:2], (0, []))
        self.assertIn("RUNNING", self.state())
        self.assertEqual(run_script("@netstop skervotest\n#\n", "/Silent")[:2], (0, []))
        self.assertIn("STOPPED", self.state())

    def test_an_unknown_service_is_reported(self):
        code, boxes, _ = run_script("NETSTART ServiceInconnu\nNETSTOP ServiceInconnu\n", "/Silent")
        self.assertEqual(code, 0)
        self.assertEqual(
            [text for _, _, text in boxes],
            [
                "Erreur : Impossible de démarrer le service ServiceInconnu".encode("cp1252"),
                "Erreur : Impossible d'arrêter le service ServiceInconnu".encode("cp1252"),
            ],
        )


if __name__ == "__main__":
    unittest.main(verbosity=2)
