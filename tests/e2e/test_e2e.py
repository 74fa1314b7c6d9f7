"""End-to-end tests of skervo.exe under Wine.

Needs DISPLAY (an X display), WINEPREFIX (a ready prefix with a running wineserver) and
SKERVO_BUILD (the Windows build folder, holding skervo.exe and tests/e2e/box_recorder.exe); the
same tests run against the 64-bit and the 32-bit build. SKERVO_OTHER_BUILD, when set, is the
build of the other architecture, whose helper programs stand for applications across the line.
One box recorder runs for the whole session: it writes down every message box and presses OK,
so each run's boxes are the lines that the recorder's log gained during that run.
"""

import os
import signal
import subprocess
import tempfile
import time
import unittest
from pathlib import Path

import wine

BUILD = Path(os.environ["SKERVO_BUILD"]).resolve()
OTHER_BUILD = Path(os.environ["SKERVO_OTHER_BUILD"]).resolve() if "SKERVO_OTHER_BUILD" in os.environ else None
SKERVO = BUILD / "skervo.exe"
RECORDER = BUILD / "tests" / "e2e" / "box_recorder.exe"
ENV = wine.environment(os.environ)

CAPTION = b"Skervo 2.0"
# The usage text, byte for byte: lines joined by LF, none after the last.
USAGE = "\n".join(
    [
        'Usage : SKERVO nom_fichier [/Silent]',
        "              exécute pour chaque ligne de 'nom_fichier' l'action par défaut du fichier",
        '',
        "L'option /SILENT cache la fenêtre de suivi du script,",
        'Cliquer sur la croix pour arrêter le script',
        '',
        'Pour associer les scripts (.skervo) avec Skervo, utilisez la commande /Register',
        ' (/unregister pour supprimer)',
        '',
        "Chaque ligne de commande doit contenir le chemin d'accès complet.",
        'Mettre des guillemets autour des noms de fichiers longs.',
        '',
        'En début de ligne (commandes exclusives) :',
        '',
        'Commandes de connexion :',
        '  &x    : Lance la connexion internet à "x" (par la boîte standard Windows)',
        '  &&x  : Lance la connexion internet à "x" (en automatique)',
        "  &-     : Attendre qu'une connexion soit établie",
        "  &>    : Attendre qu'il n'y ait plus de connexions",
        "              avec ,- à la fin de la ligne, minimise la fenêtre pendant l'attente",
        '  &<    : Déconnecter toutes les connexions internet actives',
        '',
        "Commandes de fermeture (soit un .exe soit un morceau du titre d'une fenêtre) :",
        '  >x    : Lancer l\'application "x", la fermer à la fin du script*',
        '  >>x  : Lancer l\'application "x", la fermer (sans confirmation) à la fin du script*',
        "  * Si le script contient une connexion, Skervo attendra d'abord la fin de celle-ci",
        '',
        '  <x    : Ferme immédiatement l\'application "x"',
        '  <<x  : Tue (sans confirmation) immédiatement l\'application "x"',
        '',
        "Commandes d'attente :",
        "  @    : Attendre la fin de l'exécution avant de continuer (.exe uniquement)",
        '  @x  : Attendre "x" secondes',
        '',
        'Autres commandes :',
        '  -      : Minimise la fenêtre',
        '  +     : Restaure la fenêtre',
        '  #     : Ignore la ligne (Commentaire)',
    ]
).encode("cp1252")
UNKNOWN = "programme_inconnu /x"

session = {}

# A test caught in a wait that never ends fails after this long instead of stalling the whole
# run; the slowest (two hundred applications) takes under a minute.
TEST_TIME_LIMIT = 300


def run_within_time_limit(run):
    def limited(test, result=None):
        def expire(signum, frame):
            raise TimeoutError(f"the test took more than {TEST_TIME_LIMIT} s")

        previous = signal.signal(signal.SIGALRM, expire)
        signal.alarm(TEST_TIME_LIMIT)
        try:
            return run(test, result)
        finally:
            signal.alarm(0)
            signal.signal(signal.SIGALRM, previous)

    return limited


# Every end-to-end module imports this one: each of their tests gets the limit.
unittest.TestCase.run = run_within_time_limit(unittest.TestCase.run)


def pointer_digits(program):
    """How many hex digits the program writes for an address: 16 for a 64-bit program, 8 for a
    32-bit one (the machine field of its PE header)."""
    return 16 if wine.bits(program) == 64 else 8


# Every run is an administrator's under Wine, and such a run refuses a script or a journal that
# others may change: /tmp lets everyone change what it holds. The files of a session live in the
# prefix's C:, which no mode 1777 folder leads to.
DRIVE_C = Path(os.environ["WINEPREFIX"]) / "drive_c"


def windows_path(path):
    """The prefix's drive_c is C:; Wine shows the Unix root as drive Z:."""
    path = Path(path)
    if path.is_relative_to(DRIVE_C):
        return "C:\\" + str(path.relative_to(DRIVE_C)).replace("/", "\\").removeprefix(".")
    return "Z:" + str(path).replace("/", "\\")


def information(text):
    return (CAPTION, "information", text)


def not_run(line):
    """The box of a script line that nothing could carry out."""
    return (CAPTION, "error", ("Erreur : Impossible d'exécuter : " + line).encode("cp1252"))


def start_wine(*args, env=ENV):
    return subprocess.Popen(
        wine.command(*args), env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL
    )


def recorded_boxes(offset):
    """The boxes logged after byte offset: (caption, icon kind, text), texts as bytes."""
    with open(session["log"], "rb") as log:
        log.seek(offset)
        lines = log.read().decode("ascii").splitlines()
    return [
        (bytes.fromhex(caption), icon, bytes.fromhex(text))
        for caption, icon, text in (line.split("\t") for line in lines)
    ]


def run_skervo(*args, env=ENV, timeout=90):
    """Runs skervo.exe to its end; answers its exit code, its boxes and its length in seconds."""
    if session["recorder"].poll() is not None:
        raise RuntimeError("the box recorder has ended")
    offset = os.path.getsize(session["log"])
    started = time.monotonic()
    code = start_wine(SKERVO, *args, env=env).wait(timeout=timeout)
    return code, recorded_boxes(offset), time.monotonic() - started


def settled(read, done, seconds=10):
    """What read() answers once done() accepts it, or after the given seconds: for what other
    programs do after the run has ended."""
    deadline = time.monotonic() + seconds
    while not done(value := read()) and time.monotonic() < deadline:
        time.sleep(0.1)
    return value


def noted_lines(log, expected=0):
    """The lines a helper program wrote in this log. A helper the run did not wait for may
    write after the run has ended: wait for the expected count."""

    def lines():
        return log.read_bytes().decode("cp1252").splitlines() if log.exists() else []

    return settled(lines, lambda found: len(found) >= expected)


def close_log(into, expected=0):
    """The WM_CLOSE lines of the windowed helpers in this folder, sorted: the run posts
    WM_CLOSE and does not wait for it to be read."""
    return sorted(noted_lines(into / "windowed_app.log", expected))


def script(name, content):
    """Writes a script (bytes, as they are to be on disk); answers its Windows path."""
    path = Path(session["folder"].name) / name
    path.write_bytes(content)
    return windows_path(path)


def start_recorder():
    """Starts the box recorder, once its log is written afresh."""
    session["log"].unlink(missing_ok=True)
    session["stop"].unlink(missing_ok=True)
    session["recorder"] = start_wine(
        RECORDER, windows_path(session["log"]), windows_path(session["stop"])
    )
    deadline = time.monotonic() + 60
    while not session["log"].exists():
        if session["recorder"].poll() is not None or time.monotonic() > deadline:
            raise RuntimeError(
                f"the box recorder did not start (exit code {session['recorder'].poll()}; "
                "2 means that the ANSI code page is not Windows-1252)"
            )
        time.sleep(0.1)


def stop_recorder():
    session["stop"].touch()
    try:
        session["recorder"].wait(timeout=10)
    except subprocess.TimeoutExpired:
        session["recorder"].kill()
        session["recorder"].wait()


def setUpModule():
    for program in (SKERVO, RECORDER):
        if not program.is_file():
            raise RuntimeError(f"{program} is missing: build the windows preset first")
    session["folder"] = tempfile.TemporaryDirectory(prefix="skervo-e2e.", dir=DRIVE_C)
    folder = Path(session["folder"].name)
    session["log"] = folder / "boxes.log"
    session["stop"] = folder / "stop"
    start_recorder()


def tearDownModule():
    stop_recorder()
    session["folder"].cleanup()


class CommandLineTest(unittest.TestCase):
    def test_parameters_choose_between_usage_and_run(self):
        path = script("ligne.skervo", (UNKNOWN + "\n").encode("cp1252"))
        cases = [
            ((), [information(USAGE)]),
            ((path,), [not_run(UNKNOWN)]),
            ((path, "extra"), [information(USAGE)]),
            ((path, "/Silent", "extra"), [information(USAGE)]),
            ((path, "/Silent"), [not_run(UNKNOWN)]),
            ((path, "-SILENT"), [not_run(UNKNOWN)]),
            # The script is always parameter 1, here "/Silent", which is no file.
            (("/Silent", path), []),
        ]
        for args, boxes in cases:
            with self.subTest(args=args):
                self.assertEqual(run_skervo(*args)[:2], (0, boxes))

    def test_a_script_in_a_folder_outside_the_ansi_code_page_runs(self):
        folder = Path(session["folder"].name) / "Łódź été"
        folder.mkdir(exist_ok=True)
        (folder / "s.skervo").write_bytes(b"inconnu_lodz\n")
        # Wine reads a Unix argument as UTF-8 only in a UTF-8 locale. Its 8-bit command line
        # then says "Lódz été", a folder that does not exist.
        env = dict(ENV, LANG="C.UTF-8")
        code, boxes, _ = run_skervo(windows_path(folder / "s.skervo"), env=env)
        self.assertEqual((code, boxes), (0, [not_run("inconnu_lodz")]))

    def test_missing_script_runs_nothing(self):
        missing = windows_path(Path(session["folder"].name) / "absent.skervo")
        for args in ((missing,), (missing, "/Silent")):
            with self.subTest(args=args):
                self.assertEqual(run_skervo(*args)[:2], (0, []))


class ScriptReadingTest(unittest.TestCase):
    def test_lines_are_split_trimmed_and_recognised(self):
        cases = [
            ("CR alone is no line end", b"aaa\rbbb\rccc", ["aaabbbccc"]),
            ("Ctrl-Z ends the file", b"zz1\n\x1aqq2\n", ["zz1"]),
            ("Ctrl-Z inside a line", b"zz1 a\x1ab\nqq2\n", ["zz1 a"]),
            (
                "LF and CR LF",
                b"inconnu_a\r\ninconnu_b\ninconnu_c",
                ["inconnu_a", "inconnu_b", "inconnu_c"],
            ),
            (
                "comments and empty lines",
                b"# inconnu_a\n\n \t # inconnu_b\r\n\r\n\ninconnu_c # pas un commentaire\n",
                ["inconnu_c # pas un commentaire"],
            ),
            (
                "trimming",
                b" \t inconnu_a \t \n\x01\x0b inconnu  b \x0c\r\n",
                ["inconnu_a", "inconnu  b"],
            ),
            (
                "window commands only as whole lines",
                b"-\n  +\t\n\t-\r\n--\n- inconnu_a\n+inconnu_b\n",
                ["--", "- inconnu_a", "+inconnu_b"],
            ),
            ("line bytes reach the box", "programme_été\n".encode("cp1252"), ["programme_été"]),
            ("UTF-8 with its mark", "\ufeffprogramme_été\r\n".encode("utf-8"), ["programme_été"]),
        ]
        for name, content, lines in cases:
            with self.subTest(name):
                path = script("lecture.skervo", content)
                expected = (0, [not_run(line) for line in lines])
                # With the status window, so that "-" and "+" really hide and show it.
                self.assertEqual(run_skervo(path)[:2], expected)

    def test_unknown_plain_line_gives_error_box(self):
        code, boxes, _ = run_skervo(script("inconnu.skervo", b"programme_inconnu /x\r\n"))
        self.assertEqual(code, 0)
        self.assertEqual(
            boxes,
            [(CAPTION, "error", b"Erreur : Impossible d'ex\xe9cuter : programme_inconnu /x")],
        )


class PauseTest(unittest.TestCase):
    def test_pause_before_a_further_line_lasts(self):
        for name, content, boxes in [
            ("before a line", b"@2\ninconnu_apres\n", [not_run("inconnu_apres")]),
            ("before an empty line", b"@2\n\n", []),
        ]:
            with self.subTest(name):
                code, recorded, seconds = run_skervo(script("pause.skervo", content), "/Silent")
                self.assertEqual((code, recorded), (0, boxes))
                self.assertGreaterEqual(seconds, 2.0)

    def test_pause_on_the_last_line_is_skipped(self):
        # A run that made the pause would last at least 20 s. Without it, Wine's start and the
        # final 500 ms wait take about 0.6 s here: the margin is for a busy host.
        code, boxes, seconds = run_skervo(script("fin.skervo", b"inconnu_avant\n@20\n"), "/Silent")
        self.assertEqual((code, boxes), (0, [not_run("inconnu_avant")]))
        self.assertLess(seconds, 15)

    def test_closing_the_status_window_stops_a_pause(self):
        path = script("arret.skervo", b"@30\ninconnu_apres_arret\n")
        closer = start_wine(RECORDER, "--close-status", 1000)
        code, boxes, seconds = run_skervo(path)
        self.assertEqual(closer.wait(timeout=30), 0, "no status window was found")
        # The line after the pause is never read once the window is gone.
        self.assertEqual((code, boxes), (0, []))
        self.assertLess(seconds, 15)


if __name__ == "__main__":
    unittest.main(verbosity=2)
