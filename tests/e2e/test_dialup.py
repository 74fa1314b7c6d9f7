"""End-to-end tests of the connection lines, with a remote-access library of the project's own
(helpers/fake_ras.cpp) placed in the prefix's system folder, where skervo.exe looks for it, and
the real files there put back afterwards. Its connections, dial outcomes and error texts are the
records of ras.txt beside a copy of skervo.exe; ras.log notes its dials and hang-ups. The dialog
programs are the console probe, in the system folder too: probe.log there notes how they were
started."""

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

HELPERS = BUILD / "tests" / "e2e"
# The folder a program of this kind knows as its system folder: a 32-bit one's is redirected.
SYSTEM = Path(os.environ["WINEPREFIX"]) / "drive_c" / "windows" / (
    "syswow64" if wine.bits(SKERVO) == 32 else "system32"
)
# What the tests put in the system folder, and the real files they replaced.
placed = {}


def place_in_system(files):
    """Puts the helpers (name in the system folder: helper) there, instead of what the previous
    test put; the real files are kept aside."""
    restore_system()
    for name, helper in files.items():
        target = SYSTEM / name
        placed[name] = target.read_bytes() if target.exists() else None
        shutil.copy(HELPERS / helper, target)


def restore_system():
    for name, original in placed.items():
        target = SYSTEM / name
        if original is None:
            target.unlink(missing_ok=True)
        else:
            target.write_bytes(original)
    placed.clear()
    (SYSTEM / "probe.log").unlink(missing_ok=True)


setUpModule = test_e2e.setUpModule


def tearDownModule():
    restore_system()
    test_e2e.tearDownModule()
# Wine loads a rasapi32.dll beside the program only when told to prefer it to its own.
NATIVE_RAS = "rasapi32=n,b"
NO_RAS = "rasapi32="


def install(name, records=(), system=(("rasapi32.dll", "rasapi32.dll"),)):
    """A fresh folder with a copy of skervo.exe and ras.txt, and the helpers (name in the system
    folder, helper) in the system folder; answers the folder."""
    into = Path(session["folder"].name) / name
    shutil.rmtree(into, ignore_errors=True)
    into.mkdir()
    shutil.copy(SKERVO, into / "skervo.exe")
    place_in_system(dict(system))
    (into / "ras.txt").write_bytes("".join(r + "\n" for r in records).encode("cp1252"))
    return into


def run_in(into, content, *switches, overrides=NATIVE_RAS, script_folder=None):
    """Runs the copy of skervo.exe in into on a script, from the script's folder as a double-click
    does; answers the exit code, the boxes and the run's length in seconds."""
    path = (script_folder or into) / "connexion.skervo"
    path.write_bytes(content.encode("cp1252"))
    env = dict(ENV, WINEDLLOVERRIDES=f"{ENV.get('WINEDLLOVERRIDES', '')};{overrides}")
    offset = os.path.getsize(session["log"])
    started = time.monotonic()
    program = subprocess.Popen(
        wine.command(into / "skervo.exe", windows_path(path), *switches),
        env=env,
        cwd=path.parent,
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

    def test_more_than_ten_connections_are_all_found(self):
        # The enumeration refuses ten records for eleven connections: it is asked again.
        records = [f"connection {n} 8192 C{n}" for n in range(1, 12)]
        into = install("onze", records + ["text 603 Tampon trop petit"])
        code, boxes, _ = run_in(into, "&-\n&<\n&>\n", "/Silent")
        self.assertEqual((code, boxes), (0, []))
        self.assertEqual(noted(into), [f"hangup C{n}" for n in range(1, 12)])

    def test_the_second_library_serves_when_the_first_lacks_the_names(self):
        into = install(
            "rnaph",
            ["connection 7 8192 Bureau"],
            system=[("rasapi32.dll", "rnaph.dll"), ("rnaph.dll", "rnaph.dll")],
        )
        self.assertEqual(run_in(into, "&<\n", "/Silent")[:2], (0, []))
        self.assertEqual(noted(into), ["hangup Bureau"])


class DialogTest(unittest.TestCase):
    def test_the_dialog_of_the_system_folder_gets_the_entry(self):
        into = install("dialogue", system={"rasapi32.dll": "rasapi32.dll", "rasphone.exe": "console_probe.exe"})
        self.assertEqual(run_in(into, "&  VPN Agence \n", "/Silent")[:2], (0, []))
        dialog = r"c:\windows\system32\rasphone.exe"
        self.assertEqual(noted_lines(SYSTEM / "probe.log", 1)[0].lower(), f'cmd="{dialog}"  -d "VPN Agence"'.lower())
        # A name that would close its quotes and name a phone book of its own starts nothing.
        name = 'Agence" -f "\\\\127.0.0.1\\partage\\piege.pbk'
        code, boxes, _ = run_in(into, f"&{name}\n", "/Silent")
        self.assertEqual((code, boxes), (0, [error("Impossible de se connecter : " + name)]))
        self.assertEqual(len(noted_lines(SYSTEM / "probe.log")), 2, "the dialog started again")

    def test_on_the_95_family_the_dialog_is_rundll32_and_the_rest_runs_as_on_nt(self):
        into = install("famille_95", system={"rasapi32.dll": "rasapi32.dll", "rundll32.exe": "console_probe.exe"})
        shutil.copy(HELPERS / "windowed_app.exe", into / "windowed_app.exe")
        app = windows_path(into / "windowed_app.exe")
        # Wine would run its own rundll32.exe in place of the probe of the same name.
        with windows_95_family():
            code, boxes, _ = run_in(
                into,
                f"&Bureau\n&\n>{app} Suivi 95\ninconnu_95\n",
                "/Silent",
                overrides=NATIVE_RAS + ";rundll32.exe=n",
            )
        self.assertEqual((code, boxes), (0, [error("Impossible d'exécuter : inconnu_95")]))
        started = sorted(line.lower() for line in noted_lines(SYSTEM / "probe.log", 4) if line.startswith("cmd="))
        dialog = r"c:\windows\system32\rundll32.exe"
        self.assertEqual(
            started,
            [f'cmd="{dialog}"  rnaui.dll,rnadial ', f'cmd="{dialog}"  rnaui.dll,rnadial bureau'],
        )
        self.assertEqual(close_log(into, 1), ["WM_CLOSE Suivi 95"])

    def test_without_a_dialog_program_the_line_is_reported(self):
        into = install("sans_dialogue")
        code, boxes, _ = run_in(into, "&Bureau\n", "/Silent")
        self.assertEqual((code, boxes), (0, [error("Impossible de trouver rasphone.exe")]))

    def test_a_library_or_dialog_planted_beside_the_program_or_the_script_never_runs(self):
        into = install("planted", ["connection 7 8192 Bureau"])
        scripts = into / "scripts"
        scripts.mkdir()
        for folder in (into, scripts):
            shutil.copy(HELPERS / "rasapi32.dll", folder / "rasapi32.dll")
            shutil.copy(HELPERS / "console_probe.exe", folder / "rasphone.exe")
        code, boxes, _ = run_in(into, "&<\n&Bureau\n", "/Silent", script_folder=scripts)
        self.assertEqual((code, boxes), (0, [error("Impossible de trouver rasphone.exe")]))
        self.assertEqual(noted(into), ["hangup Bureau"])
        loaded = r"c:\windows\system32\rasapi32.dll"
        self.assertEqual([line.lower() for line in noted(into, "loaded.log", 1)], [loaded.lower()])
        for folder in (into, scripts):
            self.assertFalse((folder / "probe.log").exists(), f"a planted rasphone.exe ran in {folder}")


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
        into = install("sans_bibliotheque", system=())
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
