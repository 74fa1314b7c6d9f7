"""End-to-end tests of unattended runs: /Journal, /Delai and the exit codes they bring."""

import datetime
import re
import subprocess
import time
import unittest
from pathlib import Path

import test_e2e
import test_programs
import wine
from test_e2e import ENV, not_run, run_skervo, script, session, settled, start_wine, windows_path
from test_programs import copy_helper, folder

setUpModule = test_e2e.setUpModule
tearDownModule = test_e2e.tearDownModule

# Every entry: its local time with its offset from universal time, the run's mark (computer and
# process id), what happened.
ENTRY = re.compile(r"^(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}[+-]\d\d:\d\d) \[(\S+ \d+)\] (.*)$")
# A time zone whose offset is neither whole hours nor that of the host.
NEWFOUNDLAND = dict(ENV, TZ="America/St_Johns")
ELEVEN_MB = 11 * 1024 * 1024


def timed_entries(journal):
    """The journal's entries as (time, run mark, text), after checking its mark and line ends."""
    data = journal.read_bytes()
    assert data.startswith(b"\xef\xbb\xbf"), data[:20]
    assert data.endswith(b"\r\n") and b"\n" not in data.replace(b"\r\n", b""), "CR LF only"
    found = []
    for line in data[3:].decode("utf-8").split("\r\n")[:-1]:
        if line.startswith("\t") and found:  # a further line of a box's text
            found[-1] = (*found[-1][:2], found[-1][2] + "\n" + line)
            continue
        match = ENTRY.match(line)
        assert match, f"not an entry, or cut: {line!r}"
        found.append(match.groups())
    return found


def entries(journal):
    """The journal's entries as (run mark, text)."""
    return [(mark, text) for _, mark, text in timed_entries(journal)]


def texts(journal):
    return [text for _, text in entries(journal)]


def run_with_event_trace(*args):
    """Runs skervo.exe with Wine's event log channel on; answers its exit code and the strings of
    the events it reported, each with its level: Wine writes no event, but prints each string,
    at warn for a warning, err for an error and trace otherwise."""
    env = dict(ENV, WINEDEBUG="-all,+eventlog")
    done = subprocess.run(wine.command(test_e2e.SKERVO, *args), env=env, capture_output=True, timeout=90)
    found = re.findall(r":(trace|warn|err):eventlog:ReportEventW L\"(.*)\"$", done.stderr.decode(), re.M)
    return done.returncode, [(level, text.replace("\\\\", "\\")) for level, text in found]


class JournalTest(unittest.TestCase):
    def test_a_silent_run_with_a_failure_and_a_time_limit_waits_for_nobody(self):
        night = folder("nuit")
        probe = copy_helper("console_probe.exe", night)
        journal = night / "nuit.log"
        path = script(
            "nuit.skervo",
            # A form feed, and 0x9D, undefined in the code page, that a terminal would take
            # for the start of a command swallowing the rest: neither reaches the journal raw.
            f"# nuit\r\n@{probe}\r\ninconnu\x0c".encode("cp1252")
            + b"\x9dnuit"
            + f"\r\n@{probe} until=fin\r\n@1\r\n".encode("cp1252"),
        )
        started = datetime.datetime.now(datetime.timezone.utc)
        try:
            code, boxes, seconds = run_skervo(
                path, "/Silent", f"/Journal:{windows_path(journal)}", "/Delai:3", env=NEWFOUNDLAND
            )
        finally:
            (night / "fin").touch()  # the program left running ends
        ended = datetime.datetime.now(datetime.timezone.utc)
        self.assertEqual((code, boxes), (2, []))
        self.assertLess(seconds, 30)
        # Each time, read with its offset, is a moment of the run.
        times = [datetime.datetime.fromisoformat(at) for at, _, _ in timed_entries(journal)]
        self.assertEqual({at.utcoffset() for at in times}, {datetime.timedelta(hours=-3, minutes=-30)})
        self.assertTrue(all(started - datetime.timedelta(seconds=1) <= at <= ended for at in times), times)
        found = texts(journal)
        # The computer by its short and full names, the account with its domain.
        self.assertRegex(
            found[0],
            r"^Début : Skervo \d+\.\d+\.\d+ \((32|64) bits\), poste \S+ \(\S+\), utilisateur "
            r"[^\\, ]+\\[^\\, ]+, script "
            + re.escape(path)
            + re.escape(f", options /Silent /Journal:{windows_path(journal)} /Delai:3"),
        )
        self.assertRegex(found[1], r"^ligne 2 : @\S+ : lancé, processus \d+$")
        self.assertEqual(found[2], f"ligne 2 : @{probe} : terminé, code de sortie 0")
        line = r"inconnu\x0C\x9Dnuit"
        self.assertEqual(found[3], f"ligne 3 : {line} : non lancé : le chemin d'accès complet est nécessaire")
        self.assertEqual(found[4], f"ligne 3 : {line} : boîte « Skervo 2.0 » : " + not_run(line)[2].decode("cp1252"))
        self.assertRegex(found[5], r"^ligne 4 : .* until=fin : lancé, processus \d+$")
        self.assertEqual(
            found[6], f"ligne 4 : @{probe} until=fin : délai de 3 s atteint : Attente fin console_probe.exe"
        )
        self.assertEqual(found[7], "ligne 5 : @1 : pause sautée : dernière ligne")
        self.assertRegex(found[8], r"^fin du script : toujours en cours : console_probe.exe, processus \d+$")
        self.assertRegex(
            found[9], r"^Fin : durée \d+,\d s, lignes en échec : 2, code de sortie 2, script " + re.escape(path) + "$"
        )
        self.assertEqual(len(found), 10)

    def test_runs_that_cannot_start_end_with_exit_code_3(self):
        absent = Path(session["folder"].name) / "absent"
        journal = windows_path(absent / "j.log")
        path = script("jamais.skervo", b"inconnu_jamais\r\n")
        for name, args in [
            ("a missing script", (windows_path(absent / "s.skervo"), "/Delai:5")),
            ("a journal in a missing folder", (path, "/Silent", f"/Journal:{journal}")),
        ]:
            with self.subTest(name):
                self.assertEqual(run_skervo(*args)[:2], (3, []))
        # With the window, the box says which file and why; no line was carried out.
        code, boxes, _ = run_skervo(path, f"/Journal:{journal}")
        self.assertEqual((code, len(boxes)), (3, 1))
        why = f"Erreur : Impossible d'écrire le journal '{journal}' : ".encode("cp1252")
        self.assertTrue(boxes[0][2].startswith(why), boxes[0])

    def test_four_runs_append_to_one_journal_at_once(self):
        shared = folder("partage")
        journal = shared / "commun.log"
        path = script("quatre.skervo", b"-\r\n" * 60 + b"#\r\n")
        runs = [
            start_wine(test_e2e.SKERVO, path, "/Silent", f"/Journal:{windows_path(journal)}")
            for _ in range(4)
        ]
        self.assertEqual([run.wait(timeout=120) for run in runs], [0, 0, 0, 0])
        marks = {}
        for mark, _ in entries(journal):  # every line whole
            marks[mark] = marks.get(mark, 0) + 1
        self.assertEqual(sorted(marks.values()), [62, 62, 62, 62], "a header, 60 lines, an end")

    def test_the_script_is_replaced_during_its_run(self):
        replaced = folder("remplace")
        journal = replaced / "j.log"
        target = replaced / "s.skervo"
        target.write_bytes(b"@4\r\ninconnu_ancien\r\n")
        (replaced / "nouveau.skervo").write_bytes(b"@4\r\ninconnu_nouveau\r\n")
        run = start_wine(test_e2e.SKERVO, windows_path(target), "/Silent", f"/Journal:{windows_path(journal)}")
        time.sleep(2)
        # Through Wine, which honours the run's sharing: a file held open for reading alone
        # could not be written.
        copy = ("cmd", "/c", "copy", "/y", windows_path(replaced / "nouveau.skervo"), windows_path(target))
        copied = subprocess.run(wine.command(*copy), env=ENV, capture_output=True)
        self.assertEqual(copied.returncode, 0, copied.stdout)
        self.assertEqual(run.wait(timeout=60), 2)
        self.assertIn(b"inconnu_nouveau", target.read_bytes())
        found = texts(journal)
        self.assertTrue(any("inconnu_ancien : non lancé" in text for text in found), found)
        self.assertFalse(any("inconnu_nouveau" in text for text in found), found)

    def test_each_run_ends_with_its_event(self):
        # The Event Viewer finds the words in skervo.exe's own message table.
        self.assertIn("Script %1 : échec ou interruption.".encode("cp1252"), test_e2e.SKERVO.read_bytes())
        events = folder("evenements")
        journal = events / "j.log"
        missing = windows_path(events / "absent" / "j.log")
        for name, content, journal_path, level, code in [
            ("without failure", b"@0\r\n", windows_path(journal), "trace", 0),
            ("a failed line", b"inconnu_evenement\r\n", windows_path(journal), "warn", 2),
            ("a journal that cannot be written", b"@0\r\n", missing, "err", 3),
        ]:
            with self.subTest(name):
                path = script("evenement.skervo", content)
                found_code, found = run_with_event_trace(path, "/Silent", f"/Journal:{journal_path}")
                self.assertEqual(found_code, code)
                self.assertEqual([text_level for text_level, _ in found], [level] * 5, found)
                strings = [text for _, text in found]
                self.assertEqual(strings[0], path)
                self.assertRegex(strings[1], r"^\d+,\d$")  # the duration
                self.assertEqual(strings[2:], ["1" if code == 2 else "0", str(code), journal_path])

    def test_a_journal_over_10_mb_is_set_aside_and_a_new_one_begins(self):
        kept = folder("rotation")
        journal = kept / "nuit.log"
        line = b"2026-01-01T00:00:00.000+01:00 [ANCIEN 1] ligne\r\n"
        old = b"\xef\xbb\xbf" + line * (ELEVEN_MB // len(line))
        journal.write_bytes(old)
        # A link where the journal is set aside is replaced, never followed.
        victim = kept / "victime.ini"
        victim.write_bytes(b"[x]\r\n")
        set_aside = kept / "nuit.1.log"
        set_aside.symlink_to(victim)
        path = script("rotation.skervo", b"inconnu_rotation\r\n")
        self.assertEqual(run_skervo(path, "/Silent", f"/Journal:{windows_path(journal)}")[:2], (2, []))
        self.assertEqual(victim.read_bytes(), b"[x]\r\n")
        self.assertFalse(set_aside.is_symlink())
        self.assertEqual(set_aside.read_bytes(), old)
        found = texts(journal)
        self.assertTrue(found[0].startswith("Début : Skervo") and found[-1].startswith("Fin : "), found)
        self.assertEqual(len(found), 4, found)

        # While another run holds it, a run goes on with the journal it finds.
        holder = start_wine(test_e2e.SKERVO, script("tient.skervo", b"@6\r\n#\r\n"), "/Silent",
                            f"/Journal:{windows_path(journal)}")
        # Once its header and its pause are written: it writes nothing more for 6 s.
        settled(lambda: len(texts(journal)), lambda count: count >= 6)
        with journal.open("ab") as grown:
            grown.write(line * (ELEVEN_MB // len(line)))
        self.assertEqual(run_skervo(path, "/Silent", f"/Journal:{windows_path(journal)}")[:2], (2, []))
        self.assertEqual(holder.wait(timeout=60), 0)
        self.assertEqual(set_aside.read_bytes(), old)
        self.assertGreater(journal.stat().st_size, 10 * 1024 * 1024)
        self.assertEqual(sum(text.startswith("Fin : ") for text in texts(journal)), 3)


class ElevatedRunTest(unittest.TestCase):
    """Under Wine every run has an administrator's elevated token, and a Unix mode gives Everyone
    the rights it gives others: 777 lets anyone change a file or a folder."""

    def run_journalled(self, path, journal, *switches):
        return run_skervo(path, "/Silent", f"/Journal:{windows_path(journal)}", "/Delai:5", *switches)

    def test_a_script_that_others_may_change_runs_nothing(self):
        journal = folder("journaux") / "j.log"
        for mode, code in ((0o777, 3), (0o755, 2)):
            with self.subTest(mode=oct(mode)):
                scripts = folder(f"scripts {mode:o}")
                scripts.chmod(mode)
                (scripts / "s.skervo").write_bytes(b"inconnu_droits\r\n")
                self.assertEqual(self.run_journalled(windows_path(scripts / "s.skervo"), journal)[:2], (code, []))
                found = texts(journal)
                ran = any(text.startswith("ligne 1 : inconnu_droits") for text in found)
                self.assertEqual(ran, code == 2, found)
                if code == 3:
                    self.assertIn(f"peuvent modifier '{windows_path(scripts)}'", found[-2])
                journal.unlink()

    def test_a_journal_through_a_link_is_refused_and_its_target_unchanged(self):
        safe = folder("liens")
        victim = safe / "victime.ini"
        victim.write_bytes(b"[x]\r\n")
        (safe / "lien.log").symlink_to(victim)
        (safe / "vers-rien.log").symlink_to(safe / "absent.ini")
        path = script("lien.skervo", b"inconnu_lien\r\n")
        for link in ("lien.log", "vers-rien.log"):
            with self.subTest(link):
                # With the window, the box says why; a silent run has nowhere to say it.
                code, boxes, _ = run_skervo(path, f"/Journal:{windows_path(safe / link)}", "/Delai:5")
                why = (f"Erreur : Impossible d'écrire le journal '{windows_path(safe / link)}' : ce "
                       "n'est pas un simple fichier à cet endroit (un lien, ou un fichier à plusieurs noms)")
                self.assertEqual((code, boxes), (3, [(test_e2e.CAPTION, "error", why.encode("cp1252"))]))
        self.assertEqual(victim.read_bytes(), b"[x]\r\n")
        self.assertFalse((safe / "absent.ini").exists())

    def test_every_form_of_a_download_mark_stops_a_silent_run(self):
        marks = {
            "blanks": b"[ZoneTransfer]\r\nZoneId = 3\r\n",
            "zero first": b"[ZoneTransfer]\r\nZoneId=03\r\n",
            "comment": b"[ZoneTransfer]\r\nZoneId=3 ; commentaire\r\n",
            "UTF-16": "\ufeff[ZoneTransfer]\r\nZoneId=3\r\n".encode("utf-16-le"),
            "long referrer": b"[ZoneTransfer]\r\nReferrerUrl=" + b"a" * 5000 + b"\r\nZoneId=3\r\n",
            "another section first": b"[Other]\r\nZoneId=0\r\n[ZoneTransfer]\r\nZoneId=3\r\n",
            "a trailing dot": b"[ZoneTransfer]\r\nZoneId=3\r\n",
        }
        downloads = folder("telechargements")
        journal = folder("journal des marques") / "j.log"
        for name, mark in marks.items():
            with self.subTest(name):
                path = downloads / "s.skervo"
                path.write_bytes(b"inconnu_telecharge\r\n")
                # An NTFS stream NAME:STREAM is a Unix file of that name to Wine.
                (downloads / "s.skervo:Zone.Identifier").write_bytes(mark)
                asked = windows_path(path) + ("." if name == "a trailing dot" else "")
                self.assertEqual(self.run_journalled(asked, journal)[:2], (3, []))
                found = texts(journal)
                self.assertFalse(any("inconnu_telecharge" in text for text in found), found)
                self.assertTrue(found[1].startswith("script téléchargé (zone 3"), found)
                journal.unlink()


CMD = r"C:\windows\system32\cmd.exe"


class UnattendedFailureTest(unittest.TestCase):
    def run_journalled(self, content, *switches):
        journal = folder("echecs") / "j.log"
        path = script("echecs.skervo", content.encode("cp1252"))
        code, boxes, _ = run_skervo(path, "/Silent", f"/Journal:{windows_path(journal)}", *switches)
        return code, boxes, texts(journal)

    def test_a_programs_own_exit_code_is_its_lines_result(self):
        for exit_code, run_code, words in [
            (5, 2, "terminé en échec, code de sortie 5"),
            (3010, 0, "terminé, code de sortie 3010 : redémarrage demandé"),
        ]:
            with self.subTest(exit_code=exit_code):
                line = f"@{CMD} /c exit {exit_code}"
                code, boxes, found = self.run_journalled(line + "\r\n#\r\n", "/Delai:30")
                self.assertEqual((code, boxes), (run_code, []))
                self.assertIn(f"ligne 1 : {line} : {words}", found)

    def test_stop_at_the_first_failed_line(self):
        after = folder("apres echec")
        probe = copy_helper("console_probe.exe", after)
        code, boxes, found = self.run_journalled(f"@{CMD} /c exit 1\r\n{probe}\r\n", "/Arret")
        self.assertEqual((code, boxes), (2, []))
        self.assertIn("fin du script : arrêt après l'échec de la ligne 1", found)
        time.sleep(1)
        self.assertFalse((after / "probe.log").exists(), "the next line's program started")

    def test_a_silent_box_waits_for_nobody_beyond_the_limit(self):
        # Nobody presses OK: the box recorder is stopped meanwhile.
        path = script("personne.skervo", b"inconnu_personne\r\n")
        test_e2e.stop_recorder()
        try:
            started = time.monotonic()
            code = start_wine(test_e2e.SKERVO, path, "/Silent", "/Delai:3").wait(timeout=60)
            seconds = time.monotonic() - started
        finally:
            test_e2e.start_recorder()
        self.assertEqual(code, 2)
        self.assertLess(seconds, 3 + 10)

    def test_the_end_of_the_session_ends_the_run(self):
        journal = folder("session") / "j.log"
        path = script("session.skervo", b"@60\r\n#\r\n")
        run = start_wine(test_e2e.SKERVO, path, "/Silent", f"/Journal:{windows_path(journal)}",
                         "/Delai:300")
        time.sleep(4)
        subprocess.run(wine.command("wineboot", "--end-session"), env=ENV, check=True,
                       capture_output=True, timeout=60)
        self.assertEqual(run.wait(timeout=60), 2)
        self.assertRegex(texts(journal)[-1], r"^Fin : interrompue par la fin de la session Windows, ")


class VariableTest(unittest.TestCase):
    def test_a_variable_names_what_a_line_starts_and_kills_and_the_journal(self):
        apps = folder("variables")
        copy_helper("windowed_app.exe", apps)
        journals = folder("journaux variables")
        env = dict(ENV, SKERVO_E2E_DOSSIER=windows_path(apps))
        written = ">%SKERVO_E2E_DOSSIER%\\windowed_app.exe Variable A|ignore"
        content = f"{written}\r\n<<%skervo_e2e_dossier%\\windowed_app.exe\r\n%SKERVO_E2E_ABSENTE%\\x.exe\r\n"
        path = script("variables.skervo", content.encode("cp1252"))
        code, boxes, _ = run_skervo(
            path, "/Silent", f"/Journal:{windows_path(journals)}\\%COMPUTERNAME%.log", env=env
        )
        self.assertEqual((code, boxes), (2, []))
        self.assertTrue(test_programs.gone("Variable A"))
        # One journal, named after the computer its header names.
        [journal] = journals.iterdir()
        found = texts(journal)
        self.assertIn(f", poste {journal.stem} (", found[0])
        carried = written.replace("%SKERVO_E2E_DOSSIER%", windows_path(apps))
        self.assertIn(f"ligne 1 : {written} : soit {carried}", found)
        self.assertTrue(any(re.match(r"ligne 1 : .* : lancé, processus \d+$", text) for text in found), found)
        # An unknown name stays as written, and the box gives the line so.
        unknown = "%SKERVO_E2E_ABSENTE%\\x.exe"
        self.assertIn(f"ligne 3 : {unknown} : boîte « Skervo 2.0 » : " + not_run(unknown)[2].decode("cp1252"), found)


if __name__ == "__main__":
    unittest.main(verbosity=2)
