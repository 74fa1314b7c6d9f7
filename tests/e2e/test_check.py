"""End-to-end tests of skervo-check.exe under Wine: it reports a missing program and an unknown
service, in the ANSI code page, and starts nothing: no process of the script's, no service, no
message box. In a real console, its French reads right. As a language server it answers an
editor's client. It imports only what a console program needs, and is smaller than skervo.exe."""

import os
import subprocess
import time
import unittest
from pathlib import Path

import test_e2e
import wine
from test_e2e import BUILD, ENV, OTHER_BUILD, recorded_boxes, session, windows_path
from test_programs import copy_helper, folder, probe_log, wine_command

setUpModule = test_e2e.setUpModule
tearDownModule = test_e2e.tearDownModule

CHECKER = BUILD / "skervo-check.exe"
NBSP = "\u00a0"


def check(content, *switches, env=ENV):
    """Runs the checker on a script; answers its exit code, its output (cp1252) and its boxes."""
    path = Path(session["folder"].name) / "verifie.skervo"
    path.write_bytes(content.encode("cp1252"))
    offset = Path(session["log"]).stat().st_size
    done = subprocess.run(
        wine.command(CHECKER, *switches, windows_path(path)), env=env, capture_output=True, timeout=60
    )
    return done.returncode, done.stdout.decode("cp1252"), recorded_boxes(offset)


class CheckerTest(unittest.TestCase):
    def test_a_missing_program_is_found_and_nothing_starts(self):
        present = folder("present")
        probe = copy_helper("console_probe.exe", present)
        missing = windows_path(present / "absent.exe")
        code, output, boxes = check(f"{probe} /jour\n{missing} /x\n>{probe}\n")
        self.assertEqual(code, 1)
        self.assertIn(f"verifie.skervo:2: erreur: introuvable sur cette machine{NBSP}: {missing} "
                      "[introuvable]", output)
        self.assertNotIn(":1:", output)
        time.sleep(1)  # room for a probe started by mistake to write its line
        self.assertEqual((boxes, probe_log(present)), ([], []))

    def test_a_line_is_checked_with_this_pcs_variables(self):
        present = folder("variable")
        copy_helper("console_probe.exe", present)
        env = dict(ENV, SKERVO_E2E_DOSSIER=windows_path(present))
        script = "%SKERVO_E2E_DOSSIER%\\console_probe.exe\n%SKERVO_E2E_ABSENTE%\\x.exe\n"
        code, output, _ = check(script, env=env)
        self.assertEqual(code, 1, "a warning")
        self.assertNotIn(":1:", output)
        self.assertRegex(output, r"verifie.skervo:2:(\d+:)? attention: %SKERVO_E2E_ABSENTE%[^\n]*"
                                 r"\[variable-inconnue\]")

    def test_no_path_off_this_pc_is_probed(self):
        """Wine's file trace names every path the checker asks about: the local one, never the
        share nor the relative one."""
        path = Path(session["folder"].name) / "reseau.skervo"
        path.write_bytes(b"\\??\\UNC\\127.0.0.1\\partage\\b.exe\r\n\\\\?\\UNC\\127.0.0.1\\p\\c.exe\r\n"
                         b"Outils\\d.exe\r\nC:\\absent\\x.exe\r\n")
        done = subprocess.run(wine.command(CHECKER, windows_path(path)), env=dict(ENV, WINEDEBUG="+file"),
                              capture_output=True, timeout=60)
        output, trace = done.stdout.decode("cp1252"), done.stderr.decode("latin-1")
        self.assertEqual(done.returncode, 1)
        for line, code in ((1, "reseau"), (2, "reseau"), (3, "chemin-relatif"), (4, "introuvable")):
            self.assertRegex(output, rf"reseau.skervo:{line}: [^\n]*\[{code}\]")
        self.assertIn("x.exe", trace)
        self.assertNotIn("127.0.0.1", trace)
        self.assertNotIn("d.exe", trace)

    def test_an_unknown_service_is_found_and_no_service_changes(self):
        before = wine_command("sc", "query")
        code, output, boxes = check("NETSTART ServiceInconnu\nNETSTOP ServiceInconnu\n")
        self.assertEqual(code, 1)
        for line in (1, 2):
            self.assertIn(f"verifie.skervo:{line}: erreur: service inconnu sur cette machine{NBSP}: "
                          "ServiceInconnu [service-inconnu]", output)
        self.assertEqual(boxes, [])
        self.assertEqual(wine_command("sc", "query"), before)

    def test_text_alone_with_syntaxe_and_explanations(self):
        code, output, _ = check("@30 # commentaire\nC:\\absent\\x.exe\n", "/Syntaxe", "-EXPLIQUER")
        self.assertEqual(code, 1)
        self.assertIn("verifie.skervo:1: erreur: texte après la durée", output)
        self.assertIn("verifie.skervo:2: lance C:\\absent\\x.exe", output)
        self.assertNotIn("[introuvable]", output)

    def test_a_pattern_checks_each_file_it_names(self):
        scripts = folder("motif")
        (scripts / "a.skervo").write_bytes(b"@5")
        (scripts / "b.skervo").write_bytes(b"@30 # commentaire\n\n")
        pattern = windows_path(scripts) + "\\*.skervo"
        done = subprocess.run(wine.command(CHECKER, "/Syntaxe", pattern), env=ENV, capture_output=True,
                              timeout=60)
        output = done.stdout.decode("cp1252")
        self.assertEqual(done.returncode, 1)
        self.assertIn("a.skervo:1: attention:", output)
        self.assertIn("b.skervo:1: erreur:", output)
        # Windows takes slashes between folders too: each file is shown under the folder typed.
        forward = windows_path(scripts).replace("\\", "/") + "/*.skervo"
        done = subprocess.run(wine.command(CHECKER, "/Syntaxe", forward), env=ENV, capture_output=True,
                              timeout=60)
        self.assertIn(forward.replace("*.skervo", "b.skervo:1: erreur:"), done.stdout.decode("cp1252"))
        done = subprocess.run(wine.command(CHECKER, windows_path(scripts) + "\\*.txt"), env=ENV,
                              capture_output=True, timeout=60)
        self.assertEqual(done.returncode, 2)
        self.assertIn("[aucun-fichier]", done.stdout.decode("cp1252"))

    def test_the_language_server_answers_the_node_client_table(self):
        """tests/editors/lsp_client_test.js, the table the Linux checker passes too, on the
        Windows program: its machine checks and service completion besides."""
        client = Path(__file__).resolve().parents[1] / "editors" / "lsp_client_test.js"
        done = subprocess.run(["node", str(client), "--windows", *wine.command(CHECKER)], env=ENV,
                              capture_output=True, timeout=120)
        self.assertEqual(done.returncode, 0, done.stdout.decode() + done.stderr.decode())
        self.assertRegex(done.stdout.decode(), r"\d+ passed, 0 failed")

    def test_the_checker_imports_only_kernel32_advapi32_and_msvcrt_and_is_smaller(self):
        for build in filter(None, (BUILD, OTHER_BUILD)):
            checker, runner = build / "skervo-check.exe", build / "skervo.exe"
            headers = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", str(checker)],
                                     capture_output=True, text=True, check=True).stdout
            imports = {line.split()[-1].upper() for line in headers.splitlines() if "DLL Name" in line}
            self.assertEqual(imports, {"KERNEL32.DLL", "ADVAPI32.DLL", "MSVCRT.DLL"}, checker)
            self.assertLess(checker.stat().st_size, runner.stat().st_size, checker)


class CheckerConsoleTest(unittest.TestCase):
    """wine cmd in a tmux terminal is a real console: GetConsoleMode succeeds there, and bytes
    written with WriteFile show in its OEM code page, where « é » in Windows-1252 reads « Θ »."""

    def test_a_console_shows_the_accented_letters(self):
        tmux = ["tmux", "-L", f"skervo-check-{os.getpid()}", "-u"]

        def screen_once(shows, limit=60):
            """The console's screen once it shows the text, or as it is after the limit."""
            deadline = time.monotonic() + limit
            while True:
                screen = subprocess.run(tmux + ["capture-pane", "-p", "-t", "console"],
                                        capture_output=True, text=True, check=True).stdout
                if shows in screen or time.monotonic() > deadline:
                    return screen
                time.sleep(0.5)

        subprocess.run(tmux + ["new-session", "-d", "-x", "200", "-y", "50", "-s", "console",
                               *wine.command("cmd")], env=dict(ENV, LANG="C.UTF-8"), check=True)
        try:
            # Keys typed before cmd reads the terminal would reach it as other keys.
            self.assertIn(">", screen_once(">"))
            subprocess.run(tmux + ["send-keys", "-t", "console", windows_path(CHECKER), "Enter"],
                           check=True)
            screen = screen_once("Code de sortie")
            self.assertIn("  vérifie chaque script avant de le déployer", screen)
            self.assertIn(f"Utilisation{NBSP}: skervo-check", screen)
        finally:
            subprocess.run(tmux + ["kill-server"], check=False)


if __name__ == "__main__":
    unittest.main(verbosity=2)
