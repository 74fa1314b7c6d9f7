"""End-to-end tests of the status window (its place, what it shows, its buttons, the lines that
hide and show it) and of the .skervo file type. The window is found and clicked through X with
xdotool; what it shows is read from a screenshot."""

import os
import shutil
import subprocess
import time
import unittest
from contextlib import contextmanager
from pathlib import Path

import test_e2e
import wine
from test_e2e import (
    CAPTION,
    ENV,
    RECORDER,
    SKERVO,
    information,
    not_run,
    recorded_boxes,
    script,
    session,
    start_wine,
    windows_path,
)

setUpModule = test_e2e.setUpModule
tearDownModule = test_e2e.tearDownModule

BACKGROUND = Path(__file__).resolve().parents[2] / "resources" / "fond.bmp"
WIDTH, HEIGHT = 200, 100
COLOURS = {"blue": (22, 106, 238), "black": (0, 0, 0)}
# Rectangles as left, top, right, bottom, the right and bottom edges excluded.
STEP_LINE = (5, 40, 196, 52)  # one line of 12 pixels centred in the band from 21 to 72
PREVIOUS_STEP = (5, 72, 162, 84)
SCRIPT_LINE = (5, 84, 165, 96)
HIDE_BUTTON = (172, 11)
CLOSE_CROSS = (187, 11)
SHOWN, HIDDEN = "IsViewable", "IsUnMapped"


def output(*command):
    return subprocess.run(command, capture_output=True, text=True).stdout


def log_size():
    return os.path.getsize(session["log"])


def status_window():
    """The X window of the status window, as soon as it exists."""
    deadline = time.monotonic() + 20
    while time.monotonic() < deadline:
        found = output("xdotool", "search", "--name", "^Numrak$").split()
        if found:
            return found[0]
        time.sleep(0.05)
    raise AssertionError("no status window appeared")


def map_state(window):
    """SHOWN, HIDDEN, or "" once the window is gone."""
    for line in output("xwininfo", "-id", window).splitlines():
        if "Map State:" in line:
            return line.split(":")[1].strip()
    return ""


def wait_for_state(window, state):
    """Waits up to 2 s for the state; answers the last state seen."""
    deadline = time.monotonic() + 2
    while (seen := map_state(window)) != state and time.monotonic() < deadline:
        time.sleep(0.05)
    return seen


def click(window, x, y):
    subprocess.run(["xdotool", "mousemove", "--window", window, str(x), str(y), "click", "1"])


def geometry(window):
    shell = output("xdotool", "getwindowgeometry", "--shell", window)
    values = dict(line.split("=") for line in shell.split())
    return tuple(int(values[name]) for name in ("X", "Y", "WIDTH", "HEIGHT"))


def work_area():
    """Wine's work area: what a window manager announces on the root window, else the screen."""
    announced = output("xprop", "-root", "-notype", "_NET_WORKAREA")
    if "=" in announced:
        left, top, width, height = map(int, announced.split("=")[1].split(",")[:4])
        return left, top, left + width, top + height
    width, height = map(int, output("xdotool", "getdisplaygeometry").split())
    return 0, 0, width, height


def rgb(command):
    pixels = subprocess.run(command, capture_output=True, check=True).stdout
    return [tuple(pixels[i : i + 3]) for i in range(0, len(pixels), 3)]


def texts_drawn(left, top):
    """The pixels of the window at (left, top) that differ from its background picture, as
    {(x, y): a name of COLOURS, or "other"}."""
    crop = f"{WIDTH}x{HEIGHT}+{left}+{top}"
    shot = rgb(["import", "-window", "root", "-crop", crop, "-depth", "8", "rgb:-"])
    background = rgb(["convert", str(BACKGROUND), "-depth", "8", "rgb:-"])

    def name(colour):
        close = [n for n, c in COLOURS.items() if max(abs(a - b) for a, b in zip(colour, c)) < 40]
        return close[0] if close else "other"

    return {
        (i % WIDTH, i // WIDTH): name(shown)
        for i, (shown, drawn) in enumerate(zip(shot, background))
        if shown != drawn
    }


def inside(points, rect):
    left, top, right, bottom = rect
    return [(x, y) for x, y in points if left <= x < right and top <= y < bottom]


@contextmanager
def visible_run(content):
    """A run of the script with its status window, going on meanwhile: answers the process and
    the window. A run that is still going at the end is stopped by closing its window."""
    process = start_wine(SKERVO, script("fenetre.skervo", content))
    try:
        yield process, status_window()
    finally:
        if process.poll() is None:
            start_wine(RECORDER, "--close-status", 0).wait(timeout=30)
        process.wait(timeout=30)


class StatusWindowTest(unittest.TestCase):
    def test_window_stands_in_the_corner_of_the_work_area(self):
        with visible_run(b"@30\n#\n") as (_, window):
            self.assertEqual(wait_for_state(window, SHOWN), SHOWN)
            place = geometry(window)
            opacity = output("xprop", "-id", window, "_NET_WM_WINDOW_OPACITY")
        _, _, right, bottom = work_area()
        self.assertEqual(place, (right - WIDTH, bottom - HEIGHT, WIDTH, HEIGHT))
        # Wine hands the opacity to X in 32 bits: 210 in each byte.
        self.assertTrue(opacity.strip().endswith(f"= {210 * 0x01010101}"), opacity)

    def test_texts_are_drawn_where_the_layout_puts_them(self):
        # The window shows "(Pause 1 secondes)" and "Pause : NN secondes restantes".
        with visible_run(b"@1\n@30\n#\n") as (_, window):
            left, top, _, _ = geometry(window)
            deadline = time.monotonic() + 10
            while True:
                drawn = texts_drawn(left, top)
                blue = [point for point, colour in drawn.items() if colour == "blue"]
                black = [point for point, colour in drawn.items() if colour == "black"]
                if (inside(blue, PREVIOUS_STEP) and black) or time.monotonic() > deadline:
                    break
                time.sleep(0.2)
        self.assertEqual([point for point, colour in drawn.items() if colour == "other"], [])
        self.assertTrue(black, "no current step")
        self.assertEqual(inside(black, STEP_LINE), black)
        previous, script_line = inside(blue, PREVIOUS_STEP), inside(blue, SCRIPT_LINE)
        self.assertTrue(previous, "no previous step")
        self.assertTrue(script_line, "no script line")
        self.assertEqual(len(previous) + len(script_line), len(blue), "blue outside its lines")
        # The previous step starts at the left edge, the script line ends at the right one.
        self.assertLessEqual(min(x for x, _ in previous), 7)
        self.assertGreaterEqual(max(x for x, _ in script_line), 160)

    def test_close_cross_ends_the_run(self):
        offset = log_size()
        with visible_run(b"@30\ninconnu_apres_arret\n") as (process, window):
            self.assertEqual(wait_for_state(window, SHOWN), SHOWN)
            time.sleep(0.5)
            click(window, *CLOSE_CROSS)  # during the pause
            clicked = time.monotonic()
            code = process.wait(timeout=10)
            seconds = time.monotonic() - clicked
        self.assertEqual((code, recorded_boxes(offset)), (0, []))
        self.assertLess(seconds, 10, "the run went on with the pause")

    def test_hide_button_hides_and_the_icon_shows_again(self):
        offset = log_size()
        with visible_run(b"@5\ninconnu_apres_pause\n") as (process, window):
            self.assertEqual(wait_for_state(window, SHOWN), SHOWN)
            click(window, *HIDE_BUTTON)
            self.assertEqual(wait_for_state(window, HIDDEN), HIDDEN)
            # Without a desktop panel, Wine's tray is a window of its own; the icon holds the
            # first slot at the bottom left.
            tray = output("xdotool", "search", "--name", "^Wine System Tray$").split()[0]
            click(tray, 12, 32)
            self.assertEqual(wait_for_state(window, SHOWN), SHOWN)
            code = process.wait(timeout=30)
        # The run went on to the line after the pause.
        self.assertEqual((code, recorded_boxes(offset)), (0, [not_run("inconnu_apres_pause")]))

    def test_minus_and_plus_lines_hide_and_show_the_window(self):
        with visible_run(b"-\n@3\n+\n@3\n#\n") as (_, window):
            # The window appears just before the first line; each state is read in the middle
            # of the pause that follows the line that set it.
            found = time.monotonic()
            states = []
            for middle_of_pause in (1.5, 4.5):
                time.sleep(max(0, found + middle_of_pause - time.monotonic()))
                states.append(map_state(window))
        self.assertEqual(states, [HIDDEN, SHOWN])


def run_program(program, *args):
    offset = log_size()
    code = start_wine(program, *args).wait(timeout=90)
    return code, recorded_boxes(offset)


def association(program):
    """The default values of the file type's keys for a program's Windows path."""
    return {
        ".skervo": "skervo_file",
        "skervo_file": "Script Skervo",
        r"skervo_file\shell\open\command": f'"{program}" "%1"',
        r"skervo_file\DefaultIcon": f'"{program}",1',
    }


def registry_value(key, name=None):
    """A value of a key under HKEY_CLASSES_ROOT, the default one unless named, as reg writes it;
    None when it is missing."""
    query = wine.command("reg", "query", "HKCR\\" + key, *(("/v", name) if name else ("/ve",)))
    found = subprocess.run(query, env=ENV, capture_output=True)
    if found.returncode != 0:
        return None
    lines = found.stdout.decode("cp1252").splitlines()
    return next((line.split(None, 2)[-1] for line in lines if "REG_" in line), "")


def notice(text):
    return information(text.encode("cp1252"))


def error(text):
    return (CAPTION, "error", text.encode("cp1252"))


def registered(program):
    text = (
        f"Les fichiers .skervo sont maintenant associés à '{program}'.\r\n"
        "Double-cliquez sur un fichier .skervo pour l'exécuter."
    )
    return [notice(text)]


class FileTypeTest(unittest.TestCase):
    def test_register_and_unregister(self):
        # Copies in the prefix's C:, whose folders only administrators may change: a clone may
        # lie under /tmp, which everyone may change.
        programs = []
        for name in ("programme", "programme avec blancs"):
            folder = Path(session["folder"].name) / name
            folder.mkdir(exist_ok=True)
            shutil.copy(SKERVO, folder)
            programs.append(folder / SKERVO.name)
        built, moved = programs
        # Wine gives Everyone the rights a Unix mode gives others: 777 lets anyone change it.
        everyone = Path(session["folder"].name) / "ouvert a tous"
        everyone.mkdir(exist_ok=True)
        everyone.chmod(0o777)
        shutil.copy(SKERVO, everyone)
        open_program = everyone / SKERVO.name
        refused = (
            "Erreur : Les fichiers .skervo n'ont pas été associés : d'autres utilisateurs que les "
            f"administrateurs peuvent modifier '{windows_path(everyone)}'.\r\n"
            "Installez Skervo dans un dossier que seuls les administrateurs peuvent modifier, "
            "comme C:\\Program Files\\Skervo, puis recommencez."
        )
        absent = dict.fromkeys(association(""))
        unregistered = "Les fichiers .skervo ne sont plus associés à Skervo."
        cannot_unregister = (
            "Erreur : Impossible de retirer l'association des fichiers .skervo "
            "de la base de registre."
        )
        built_path, moved_path = windows_path(built), windows_path(moved)
        # With /Silent, no box: the exit code says what happened.
        steps = [
            ("register from a folder anyone may change", open_program, ["/Register"], 0,
             [error(refused)], absent),
            ("the same, silent", open_program, ["/Register", "/Silent"], 1, [], absent),
            ("register", built, ["/Register"], 0, registered(built_path), association(built_path)),
            # Registering again, from a path with blanks, overwrites the values.
            ("register again", moved, ["/Register"], 0, registered(moved_path),
             association(moved_path)),
            ("unregister", moved, ["/Unregister"], 0, [notice(unregistered)], absent),
            ("unregister again", moved, ["/Unregister"], 0, [error(cannot_unregister)], absent),
            ("register, silent", built, ["-silent", "/REGISTER"], 0, [], association(built_path)),
            ("unregister, silent", built, ["/Unregister", "/Silent"], 0, [], absent),
        ]
        for name, program, switches, code, boxes, values in steps:
            with self.subTest(name):
                self.assertEqual(run_program(program, *switches), (code, boxes))
                self.assertEqual({key: registry_value(key) for key in values}, values)
                # Always unsafe: the shell warns before it opens a downloaded script.
                always_unsafe = "0x20000" if values is not absent else None
                self.assertEqual(registry_value("skervo_file", "EditFlags"), always_unsafe)


if __name__ == "__main__":
    unittest.main(verbosity=2)
