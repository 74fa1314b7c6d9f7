"""End-to-end tests of skervo-check.exe under Wine: it reports a missing program and an unknown
service, in the ANSI code page, and starts nothing: no process of the script's, no service, no
message box."""

import subprocess
import time
import unittest
from pathlib import Path

import test_e2e
import wine
from test_e2e import BUILD, ENV, recorded_boxes, session, windows_path
from test_programs import copy_helper, folder, probe_log, wine_command

setUpModule = test_e2e.setUpModule
tearDownModule = test_e2e.tearDownModule

CHECKER = BUILD / "skervo-check.exe"


def check(content, *switches):
    """Runs the checker on a script; answers its exit code, its output (cp1252) and its boxes."""
    path = Path(session["folder"].name) / "verifie.skervo"
    path.write_bytes(content.encode("cp1252"))
    offset = Path(session["log"]).stat().st_size
    done = subprocess.run(
        wine.command(CHECKER, *switches, windows_path(path)), env=ENV, capture_output=True, timeout=60
    )
    return done.returncode, done.stdout.decode("cp1252"), recorded_boxes(offset)


class CheckerTest(unittest.TestCase):
    def test_a_missing_program_is_found_and_nothing_starts(self):
        present = folder("present")
        probe = copy_helper("console_probe.exe", present)
        missing = windows_path(present / "absent.exe")
        code, output, boxes = check(f"{probe} /jour\n{missing} /x\n>{probe}\n")
        self.assertEqual(code, 1)
        self.assertIn(f"verifie.skervo:2: erreur: introuvable sur cette machine : {missing} "
                      "[introuvable]", output)
        self.assertNotIn(":1:", output)
        time.sleep(1)  # room for a probe started by mistake to write its line
        self.assertEqual((boxes, probe_log(present)), ([], []))

    def test_an_unknown_service_is_found_and_no_service_changes(self):
        before = wine_command("sc", "query")
        code, output, boxes = check("NETSTART ServiceInconnu\nNETSTOP ServiceInconnu\n")
        self.assertEqual(code, 1)
        for line in (1, 2):
            self.assertIn(f"verifie.skervo:{line}: erreur: service inconnu sur cette machine : "
                          "ServiceInconnu [service-inconnu]", output)
        self.assertEqual(boxes, [])
        self.assertEqual(wine_command("sc", "query"), before)

    def test_text_alone_with_syntaxe_and_explanations(self):
        code, output, _ = check("@30 # commentaire\nC:\\absent\\x.exe\n", "/Syntaxe", "-EXPLIQUER")
        self.assertEqual(code, 1)
        self.assertIn("verifie.skervo:1: erreur: texte après la durée", output)
        self.assertIn("verifie.skervo:2: lance C:\\absent\\x.exe", output)
        self.assertNotIn("[introuvable]", output)


if __name__ == "__main__":
    unittest.main(verbosity=2)
