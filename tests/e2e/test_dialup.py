"""End-to-end tests of the connection lines, with a remote-access library of the project's own
(helpers/fake_ras.cpp) placed beside a copy of skervo.exe. Its connections, dial outcomes and
error texts are the records of ras.txt beside it; ras.log notes its dials and hang-ups."""

import os
import re
import shutil
import subprocess
import time
import unittest
from contextlib import contextmanager
from pathlib import Path

import test_e2e
import wine
from test_e2e import (
    BUILD,
    CAPTION,
    ENV,
    SKERVO,
    close_log,
    noted_lines,
    pointer_digits,
    recorded_boxes,
    session,
    windows_path,
)

setUpModule = test_e2e.setUpModule
tearDownModule = test_e2e.tearDownModule

HELPERS = BUILD / "tests" / "e2e"
# Wine loads a rasapi32.dll beside the program only when told to prefer it to its own.
NATIVE_RAS = "rasapi32=n,b"
NO_RAS = "rasapi32="


def install(name, records=(), libraries=(("rasapi32.dll", "rasapi32.dll"),)):
    """A fresh folder with a copy of skervo.exe, the test libraries (name, built from) and
    ras.txt; answers the folder."""
    into = Path(session["folder"].name) / name
    shutil.rmtree(into, ignore_errors=True)
    into.mkdir()
    shutil.copy(SKERVO, into / "skervo.exe")
    for library, built in libraries:
        shutil.copy(HELPERS / built, into / library)
    (into / "ras.txt").write_bytes("".join(r + "\n" for r in records).encode("cp1252"))
    return into


def run_in(into, content, *switches, overrides=NATIVE_RAS):
    """Runs the copy of skervo.exe in into on a script; answers the exit code, the boxes and the
    run's length in seconds."""
    path = into / "connexion.skervo"
    path.write_bytes(content.encode("cp1252"))
    env = dict(ENV, WINEDLLOVERRIDES=f"{ENV.get('WINEDLLOVERRIDES', '')};{overrides}")
    offset = os.path.getsize(session["log"])
    started = time.monotonic()
    program = subprocess.Popen(
        wine.command(into / "skervo.exe", windows_path(path), *switches),
        env=env,
        stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL,
    )
    try:
        code = program.wait(timeout=90)
    except subprocess.TimeoutExpired:
        program.kill()
        program.wait()
        raise
    return code, recorded_boxes(offset), time.monotonic() - started


def noted(into, name="ras.log", expected=0):
    return noted_lines(into / name, expected)


def connections(into):
    return [line for line in noted(into, "ras.txt") if line.startswith("connection ")]


def error(text):
    return (CAPTION, "error", ("Erreur : " + text).encode("cp1252"))


@contextmanager
def windows_95_family():
    """Wine answers platform 1 (the 95 family) to GetVersionExA in every skervo.exe meanwhile."""
    key = r"HKCU\Software\Wine\AppDefaults\skervo.exe"
    subprocess.run(wine.command("reg", "add", key, "/v", "Version", "/d", "win98", "/f"), env=ENV,
                   check=True, capture_output=True)
    try:
        yield
    finally:
        subprocess.run(wine.command("reg", "delete", key, "/f"), env=ENV, capture_output=True)


class AutomaticDialTest(unittest.TestCase):
    def test_a_dial_that_connects_is_made_once_and_waited_for(self):
        into = install("connecte", ["entry Bureau ok 1500"])
        code, boxes, seconds = run_in(into, "&&Bureau\n&&Bureau\n&-\n&>\n", "/Silent")
        self.assertEqual((code, boxes), (0, []))
        self.assertEqual(noted(into), ["dial Bureau"])
        # &> ends only once the line drops, 300 ms + 1500 ms after the dial.
        self.assertGreaterEqual(seconds, 1.8)
        self.assertEqual(connections(into), [])

    def test_dial_failures_are_reported_from_either_thread(self):
        into = install(
            "echecs",
            [
                "entry Bureau fail 678",
                "entry Maison refuse 676",
                "text 678 La ligne ne répond pas",
            ],
        )
        code, boxes, _ = run_in(into, "&&Bureau\n&&Maison\n&&Inconnue\n@2\n#\n", "/Silent")
        self.assertEqual(code, 0)
        # The notification's box comes on the library's thread, in any order with the others.
        self.assertEqual(
            sorted(boxes),
            sorted(
                [
                    error("Connexion (678) : La ligne ne répond pas"),
                    error("Connexion impossible (n°676)"),
                    error("Connexion inconnue"),
                ]
            ),
        )
        # A failed dial holds its port until the program hangs it up, refused at once or not.
        self.assertEqual(noted(into), ["dial Bureau", "dial Maison", "hangup Maison", "hangup Bureau"])
        self.assertEqual(connections(into), [])


class ConnectionWaitTest(unittest.TestCase):
    def test_hang_up_ends_every_connection_whatever_its_state(self):
        into = install("raccroche", ["connection 7 8192 Bureau", "connection 8 5 Maison"])
        self.assertEqual(run_in(into, "&< suite ignorée\n", "/Silent")[:2], (0, []))
        self.assertEqual(noted(into), ["hangup Bureau", "hangup Maison"])
        self.assertEqual(connections(into), [])

    def test_more_than_ten_connections_are_refused_by_the_enumeration(self):
        records = [f"connection {n} 8192 C{n}" for n in range(1, 12)]
        into = install("onze", records + ["text 603 Tampon trop petit"])
        code, boxes, _ = run_in(into, "&>\n&<\n", "/Silent")
        self.assertEqual(code, 0)
        self.assertEqual(
            boxes,
            [
                error("Enumération des connexions (603)\n\nTampon trop petit"),
                error("Enumération des connexions (603)"),
            ],
        )
        self.assertEqual(noted(into), [])

    def test_the_second_library_serves_when_the_first_lacks_the_names(self):
        into = install(
            "rnaph",
            ["connection 7 8192 Bureau"],
            libraries=[("rasapi32.dll", "rnaph.dll"), ("rnaph.dll", "rnaph.dll")],
        )
        self.assertEqual(run_in(into, "&<\n", "/Silent")[:2], (0, []))
        self.assertEqual(noted(into), ["hangup Bureau"])


class DialogTest(unittest.TestCase):
    def test_the_dialog_found_beside_the_program_gets_the_entry(self):
        into = install("dialogue")
        shutil.copy(HELPERS / "console_probe.exe", into / "rasphone.exe")
        self.assertEqual(run_in(into, "&  Bureau \n", "/Silent")[:2], (0, []))
        dialog = windows_path(into / "rasphone.exe")
        self.assertEqual(noted(into, "probe.log", 1)[0], f'cmd="{dialog}"  -d Bureau')

    def test_on_the_95_family_the_dialog_is_rundll32_and_the_rest_runs_as_on_nt(self):
        into = install("famille_95")
        shutil.copy(HELPERS / "console_probe.exe", into / "rundll32.exe")
        shutil.copy(HELPERS / "windowed_app.exe", into / "windowed_app.exe")
        app = windows_path(into / "windowed_app.exe")
        with windows_95_family():
            code, boxes, _ = run_in(into, f"&Bureau\n&\n>{app} Suivi 95\ninconnu_95\n", "/Silent")
        self.assertEqual((code, boxes), (0, [error("Impossible d'exécuter : inconnu_95")]))
        dialog = windows_path(into / "rundll32.exe")
        started = sorted(line for line in noted(into, "probe.log", 4) if line.startswith("cmd="))
        self.assertEqual(
            started,
            [f'cmd="{dialog}"  rnaui.dll,RnaDial ', f'cmd="{dialog}"  rnaui.dll,RnaDial Bureau'],
        )
        self.assertEqual(close_log(into, 1), ["WM_CLOSE Suivi 95"])

    def test_without_a_dialog_program_the_line_is_reported(self):
        into = install("sans_dialogue")
        code, boxes, _ = run_in(into, "&Bureau\n", "/Silent")
        self.assertEqual((code, boxes), (0, [error("Impossible de trouver rasphone.exe")]))


class EndOfRunTest(unittest.TestCase):
    def test_started_applications_are_closed_after_the_disconnection(self):
        into = install("fin", ["entry Bureau ok 2000"])
        app = into / "windowed_app.exe"
        shutil.copy(HELPERS / "windowed_app.exe", app)
        code, boxes, seconds = run_in(into, f">{windows_path(app)} Suivi\n&&Bureau\n&-\n")
        self.assertEqual((code, boxes), (0, []))
        self.assertGreaterEqual(seconds, 2.3, "the run waits for the line to drop")
        self.assertEqual(close_log(into, 1), ["WM_CLOSE Suivi"])


class MissingLibraryTest(unittest.TestCase):
    def test_the_first_connection_line_ends_the_program(self):
        into = install("sans_bibliotheque", libraries=())
        code, boxes, _ = run_in(into, "&-\ninconnu_apres\n", "/Silent", overrides=NO_RAS)
        self.assertEqual(code, 1)
        self.assertEqual(len(boxes), 1, "the run ends at the connection line")
        caption, icon, text = boxes[0]
        self.assertEqual((caption, icon), (b"Erreur d'application", "error"))
        self.assertRegex(
            text,
            re.compile(
                (
                    rb"^Exception ProgramError dans le module skervo\.exe dans [0-9A-F]{%d}\.\r\n"
                    rb"Erreur en ouverture de rasapi32\.dll\.\r\n$"
                )
                % pointer_digits(SKERVO)
            ),
        )


if __name__ == "__main__":
    unittest.main(verbosity=2)
