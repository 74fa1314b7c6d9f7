"""End-to-end tests of the Windows Installer packages (installer/skervo.wxs, built by
tools/package_msi) under Wine: each is installed and removed with msiexec /qn, for real, in the
session's prefix.

The suite of the 64-bit build tests the win64 package; the suite of the 32-bit build the win32
one. On a host that cannot run 32-bit programs the 32-bit suite does not run: the 64-bit suite
then installs the win32 package too (msiexec is Wine's own 64-bit tool), and skips only what
needs its 32-bit program running. Every test starts and ends with no Skervo installed.
"""

import hashlib
import os
import re
import shutil
import subprocess
import sys
import unittest
from pathlib import Path

import test_e2e
import wine
from test_e2e import BUILD, OTHER_BUILD, not_run, recorded_boxes, session, windows_path

setUpModule_e2e = test_e2e.setUpModule
tearDownModule = test_e2e.tearDownModule

ROOT = Path(__file__).resolve().parents[2]
VERSION = re.search(r"project\(Skervo VERSION ([0-9.]+)", (ROOT / "CMakeLists.txt").read_text())[1]
# The lower version an upgrade starts from: the same files, another version.
LOWER = "2.0.1"
# Any fixed time: the packages' dates.
COMMIT_TIME = 1765000000
PUBLISHER = "Les développeurs de Skervo"
DOWNGRADE = (
    "Une version plus récente de Skervo est déjà installée : désinstallez-la d'abord pour "
    "installer celle-ci."
)
# Wine hands a Windows exit code to Linux in 8 bits: 1603 (the install failed) arrives as 67.
FAILED = 1603 % 256
# Wine's helper that mirrors file types into the Linux desktop's menus: not in the tests.
ENV = dict(wine.environment(os.environ), WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
PREFIX = Path(os.environ.get("WINEPREFIX", "/nonexistent"))


class Kind:
    """One kind of package: where it installs and which registry view it writes."""

    def __init__(self, name, build):
        self.name, self.build = name, build
        self.bits = 64 if name == "win64" else 32
        program_files = "Program Files" if self.bits == 64 else "Program Files (x86)"
        self.folder = PREFIX / "drive_c" / program_files / "Skervo"
        self.windows_folder = "C:\\" + program_files + "\\Skervo"
        self.view = f"/reg:{self.bits}"
        self.runs = self.bits == 64 or wine.RUNS_32BIT
        self.packages = {}


def kinds():
    if wine.bits(BUILD / "skervo.exe") == 32:
        return [Kind("win32", BUILD)]
    found = [Kind("win64", BUILD)]
    if not wine.RUNS_32BIT and OTHER_BUILD is not None:
        found.append(Kind("win32", OTHER_BUILD))
    return found


KINDS = kinds()


def payload(build, into, guide_end=b""):
    """The files of a release archive made from a build folder, as tools/package_release makes
    them. guide_end marks the guide of a package, to tell which one is installed."""
    into.mkdir(parents=True)
    for program in ("skervo.exe", "skervo-check.exe"):
        shutil.copyfile(build / program, into / program)
    subprocess.run([sys.executable, ROOT / "tools" / "lisezmoi", into / "LISEZMOI.txt"], check=True)
    with open(into / "LISEZMOI.txt", "ab") as guide:
        guide.write(guide_end)
    licence = (ROOT / "LICENSE").read_bytes().replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
    (into / "LICENSE.txt").write_bytes(licence)
    for example in (ROOT / "examples").glob("*.skervo"):
        shutil.copyfile(example, into / example.name)
    return into


def package_msi(folder, kind, version, package, *address):
    subprocess.run(
        [sys.executable, ROOT / "tools" / "package_msi", folder, kind.name, version,
         str(COMMIT_TIME), package, *address],
        check=True,
    )


def build_package(kind, version, guide_end=b""):
    folder = Path(session["folder"].name) / f"{kind.name}-{version}"
    package = folder.parent / f"{folder.name}.msi"
    package_msi(payload(kind.build, folder, guide_end), kind, version, package)
    kind.packages[version] = (package, folder)


def setUpModule():
    if tuple(map(int, LOWER.split("."))) >= tuple(map(int, VERSION.split("."))):
        raise RuntimeError(f"the upgrade test's lower version, {LOWER}, is not below {VERSION}")
    setUpModule_e2e()
    for kind in KINDS:
        build_package(kind, VERSION)
        build_package(kind, LOWER, f"\r\n{LOWER}\r\n".encode())
    # The first package installed in a fresh prefix makes Windows Installer's own keys, which
    # every Windows has (Installer\Products and the like, empty): made before the snapshot.
    for kind in KINDS:
        for action in ("/i", "/x"):
            msiexec(action, windows_path(kind.packages[VERSION][0]), "/qn")
    session["snapshot"] = snapshot()


def wine_tool(*args, timeout=120):
    return subprocess.run(wine.command(*args), env=ENV, capture_output=True, timeout=timeout)


def msiexec(*args):
    """msiexec's exit code, with a verbose log in the session's folder."""
    log = Path(session["folder"].name) / "msiexec.log"
    return wine_tool("msiexec", *args, "/l*v", windows_path(log)).returncode


def table(package, name):
    """The rows of a table of a package, from msiinfo, as lists of columns."""
    text = subprocess.run(["msiinfo", "export", package, name], capture_output=True, check=True)
    return [line.split("\t") for line in text.stdout.decode("utf-8").splitlines()[3:]]


def property_value(package, name):
    return dict(table(package, "Property"))[name]


def registry(key, view):
    """A key and its subkeys in one registry view: {key: {name: (type, data)}}, the keys as
    reg writes them (HKEY_LOCAL_MACHINE\\...); {} when the key is missing."""
    found = wine_tool("reg", "query", key, "/s", view)
    keys, values = {}, None
    # Into a pipe, reg writes in the console's code page: the OEM one, 437 in the tests' prefix.
    for line in found.stdout.decode("cp437").splitlines() if found.returncode == 0 else []:
        if line.startswith("HKEY_"):
            values = keys.setdefault(line.strip(), {})
        elif matched := re.match(r"^    (.*?)    (REG_\w+)    (.*)$", line):
            values[matched[1]] = (matched[2], matched[3])
    return keys


def uninstall_entries(kind):
    """The uninstall entries named Skervo in the package's view: product code -> values."""
    root = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
    return {
        key.rpartition("\\")[2]: values
        for key, values in registry(root, kind.view).items()
        if values.get("DisplayName", (None, None))[1] == "Skervo"
    }


def packed(code):
    """A product code as Windows Installer writes it in its own keys."""
    digits = code.strip("{}").replace("-", "")
    swapped = "".join(digits[index + 1] + digits[index] for index in range(16, 32, 2))
    return digits[7::-1] + digits[11:7:-1] + digits[15:11:-1] + swapped


def snapshot():
    """Everything an install may change: the Software keys of the machine and the user (less
    Wine's own settings), as sections of a key and its values, and the files of drive C: (less
    the temporary folders). Exporting the machine's keys takes a few seconds."""
    exported = []
    for root in (r"HKEY_LOCAL_MACHINE\Software", r"HKEY_CURRENT_USER\Software"):
        path = Path(session["folder"].name) / "export.reg"
        wine_tool("regedit", "/E", windows_path(path), root)
        sections = path.read_bytes().decode("utf-16").split("\r\n\r\n")
        exported += [s for s in sections if not s.startswith(r"[HKEY_CURRENT_USER\Software\Wine")]
    drive = PREFIX / "drive_c"
    files = {
        str(path.relative_to(drive))
        for path in drive.rglob("*")
        if not re.search(r"(^|/)(temp|Temp)(/|$)", str(path.relative_to(drive)))
    }
    return set(exported), files


CLASSES = r"HKEY_LOCAL_MACHINE\Software\Classes"
EVENT_SOURCE = r"HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\EventLog\Application\Skervo"


def file_type(kind, view=None):
    """The machine's file-type keys as a registry view shows them, by default the package's."""
    found = {}
    for key in (".skervo", "skervo_file"):
        found.update(registry(f"{CLASSES}\\{key}", view or kind.view))
    return found


def expected_file_type(kind, folder=None):
    """The file type of a package installed in folder (by default its own)."""
    program = (folder or kind.windows_folder + "\\") + "skervo.exe"
    return {
        rf"{CLASSES}\.skervo": {"(Default)": ("REG_SZ", "skervo_file")},
        rf"{CLASSES}\skervo_file": {"(Default)": ("REG_SZ", "Script Skervo"),
                                    "EditFlags": ("REG_DWORD", "0x20000")},
        rf"{CLASSES}\skervo_file\DefaultIcon": {"(Default)": ("REG_SZ", f'"{program}",1')},
        rf"{CLASSES}\skervo_file\shell": {},
        rf"{CLASSES}\skervo_file\shell\open": {},
        rf"{CLASSES}\skervo_file\shell\open\command": {
            "(Default)": ("REG_SZ", f'"{program}" "%1"')
        },
    }


def prefix_path(windows):
    """The Linux path of a file or folder of drive C:, found as Wine finds it: each name
    without regard to case."""
    path = PREFIX / "drive_c"
    for name in filter(None, windows[3:].split("\\")):
        same = [entry for entry in path.glob("*") if entry.name.lower() == name.lower()]
        path = same[0] if same else path / name
    return path


def digests(folder):
    """Each file of a folder: name -> SHA-256; None when there is no folder."""
    if not folder.is_dir():
        return None
    return {path.name: hashlib.sha256(path.read_bytes()).hexdigest() for path in folder.iterdir()}


def installed_files(kind):
    return digests(kind.folder)


def packaged_files(kind, version):
    return digests(kind.packages[version][1])


class PackageCase(unittest.TestCase):
    """Each test starts from a prefix without Skervo and leaves it so, whatever happened."""

    maxDiff = None
    # Whether the test has seen that nothing is installed (assert_removed passed).
    clean = True

    def tearDown(self):
        if self.clean:
            return
        for kind in KINDS:
            for code in uninstall_entries(kind):
                msiexec("/x", code, "/qn")

    def install(self, kind, version, *properties, interface="/qn"):
        self.clean = False
        return msiexec("/i", windows_path(kind.packages[version][0]), interface, *properties)

    def remove(self, kind, version, *properties):
        return msiexec("/x", windows_path(kind.packages[version][0]), "/qn", *properties)

    def assert_installed(self, kind, version, folder=None):
        """Installed in folder, as Windows writes it (by default the package's own)."""
        folder = folder or kind.windows_folder + "\\"
        package = kind.packages[version][0]
        self.assertEqual(digests(prefix_path(folder)), packaged_files(kind, version))
        code = property_value(package, "ProductCode")
        entries = uninstall_entries(kind)
        self.assertEqual(list(entries), [code])
        entry = entries[code]
        # No links, the project having no address: Windows writes none, Wine empty ones.
        self.assertEqual(
            {name: entry.get(name, (None, ""))[1] for name in
             ("DisplayName", "DisplayVersion", "Publisher", "InstallLocation", "URLInfoAbout",
              "HelpLink")},
            {"DisplayName": "Skervo", "DisplayVersion": version, "Publisher": PUBLISHER,
             "InstallLocation": folder, "URLInfoAbout": "", "HelpLink": ""},
        )
        # The source of the events skervo.exe writes, its messages in the program.
        self.assertEqual(
            registry(EVENT_SOURCE, kind.view),
            {EVENT_SOURCE: {"EventMessageFile": ("REG_EXPAND_SZ", folder + "skervo.exe"),
                            "TypesSupported": ("REG_DWORD", "0x7")}},
        )
        self.assertEqual(entry["UninstallString"][1], f"MsiExec.exe /X{code}")
        # The icon of « Applications et fonctionnalités »: the program's own.
        product = rf"{CLASSES}\Installer\Products\{packed(code)}"
        icon = registry(product, "/reg:64")[product]["ProductIcon"][1]
        self.assertTrue(icon.lower().startswith("c:\\windows\\installer\\"), icon)
        icon_file = prefix_path(icon)
        self.assertEqual(icon_file.read_bytes(), (ROOT / "resources" / "mainicon.ico").read_bytes())

    def assert_removed(self):
        """Nothing left of any package: its folder, its file type in either registry view, its
        uninstall entry, Windows Installer's record of it."""
        for kind in KINDS:
            self.assertIsNone(installed_files(kind))
            self.assertEqual(uninstall_entries(kind), {})
        for view in ("/reg:64", "/reg:32"):
            self.assertEqual(file_type(None, view), {})
            self.assertEqual(registry(EVENT_SOURCE, view), {})
        records = " ".join(registry(rf"{CLASSES}\Installer", "/reg:64"))
        for kind in KINDS:
            for package, _ in kind.packages.values():
                self.assertNotIn(packed(property_value(package, "ProductCode")), records)
        self.assertNotIn(packed(property_value(package, "UpgradeCode")), records)
        self.clean = True

    def assert_nothing_changed(self):
        """Nothing added, nothing taken away since the module's first snapshot: registry
        sections (a key and its values) and files."""
        for before, after in zip(session["snapshot"], snapshot()):
            self.assertEqual((sorted(after - before), sorted(before - after)), ([], []))


def for_each_kind(test):
    """Runs a test once for each kind of package, as subtests."""

    def each(self):
        for kind in KINDS:
            with self.subTest(kind.name):
                test(self, kind)

    each.__name__ = test.__name__
    each.__doc__ = test.__doc__
    return each


class InstallTest(PackageCase):
    @for_each_kind
    def test_install_twice_then_remove_leaves_nothing(self, kind):
        self.assertEqual(self.install(kind, VERSION), 0)
        self.assert_installed(kind, VERSION)
        self.assertEqual(file_type(kind), expected_file_type(kind))
        # The same version again: Windows Installer finds it installed and changes nothing.
        self.assertEqual(self.install(kind, VERSION), 0)
        self.assert_installed(kind, VERSION)
        self.assertEqual(file_type(kind), expected_file_type(kind))
        self.assertEqual(self.remove(kind, VERSION), 0)
        self.assert_removed()
        self.assert_nothing_changed()

    def test_without_the_file_type(self):
        kind = KINDS[0]
        self.assertEqual(self.install(kind, VERSION, "SKERVO_FILETYPE=0"), 0)
        self.assert_installed(kind, VERSION)
        self.assertEqual(file_type(kind), {})
        self.assertEqual(self.remove(kind, VERSION), 0)
        self.assert_removed()

    def test_the_file_type_only_with_a_folder_in_program_files(self):
        """Users may change a folder out of Program Files: every user's double-click must not
        run what is there. Windows compares folder names without regard to case."""
        kind = KINDS[0]
        program_files = kind.windows_folder.rpartition("\\")[0]
        for folder, with_file_type in (
            ("C:\\Outils\\Skervo\\", False),
            (program_files + "\\..\\Outils\\Skervo\\", False),
            (program_files.lower() + "\\Outils\\Skervo\\", True),
        ):
            with self.subTest(folder):
                self.assertEqual(self.install(kind, VERSION, f"INSTALLDIR={folder}"), 0)
                self.assert_installed(kind, VERSION, folder)
                expected = expected_file_type(kind, folder) if with_file_type else {}
                self.assertEqual(file_type(kind), expected)
                # Windows finds the folder of the installed files; Wine takes INSTALLDIR anew.
                self.assertEqual(self.remove(kind, VERSION, f"INSTALLDIR={folder}"), 0)
                self.assertIsNone(digests(prefix_path(folder)))
                self.assert_removed()

    def test_remove_leaves_what_the_package_did_not_make(self):
        kind = KINDS[0]
        self.assertEqual(self.install(kind, VERSION), 0)
        # A verb an administrator added to the file type, a script a user saved beside Skervo.
        verb = rf"{CLASSES}\skervo_file\shell\edit\command"
        notepad = ("REG_SZ", "notepad.exe %1")
        wine_tool("reg", "add", verb, "/ve", "/d", notepad[1], "/f", kind.view)
        (kind.folder / "mon script.skervo").write_bytes(b"@1\n")
        self.assertEqual(self.remove(kind, VERSION), 0)
        self.assertEqual(list(installed_files(kind)), ["mon script.skervo"])
        self.assertEqual(file_type(kind)[verb], {"(Default)": notepad})
        shutil.rmtree(kind.folder)
        wine_tool("reg", "delete", rf"{CLASSES}\skervo_file", "/f", kind.view)
        self.assert_removed()

    def test_remove_after_the_folder_was_deleted_by_hand(self):
        kind = KINDS[0]
        self.assertEqual(self.install(kind, VERSION), 0)
        shutil.rmtree(kind.folder)
        self.assertEqual(self.remove(kind, VERSION), 0)
        self.assert_removed()


class UpgradeTest(PackageCase):
    @for_each_kind
    def test_a_later_version_replaces_an_earlier_one_and_never_the_reverse(self, kind):
        self.assertEqual(self.install(kind, LOWER), 0)
        self.assert_installed(kind, LOWER)
        self.assertEqual(self.install(kind, VERSION), 0)
        self.assert_installed(kind, VERSION)
        self.assertEqual(file_type(kind), expected_file_type(kind))
        # The earlier version is refused: the launch condition stops the install. Its message
        # is in the log on Windows (Wine logs none) and, with an interface, in a box.
        self.assertEqual(self.install(kind, LOWER), FAILED)
        offset = os.path.getsize(session["log"])
        self.assertEqual(self.install(kind, LOWER, interface="/qb"), FAILED)
        self.assertEqual([box[2] for box in recorded_boxes(offset)], [DOWNGRADE.encode("cp1252")])
        self.assert_installed(kind, VERSION)
        self.assertEqual(self.remove(kind, VERSION), 0)
        self.assert_removed()

    @unittest.skipUnless(len(KINDS) == 2, "one kind of package in this suite")
    def test_the_other_kind_of_the_same_version_is_replaced(self):
        win64, win32 = KINDS
        self.assertEqual(self.install(win32, VERSION), 0)
        self.assertEqual(self.install(win64, VERSION), 0)
        self.assert_installed(win64, VERSION)
        self.assertEqual((installed_files(win32), uninstall_entries(win32)), (None, {}))
        self.assertEqual(self.remove(win64, VERSION), 0)
        self.assert_removed()


class ShellTest(PackageCase):
    @for_each_kind
    def test_a_script_opened_through_the_shell_runs_in_the_installed_program(self, kind):
        if not kind.runs:
            self.skipTest(f"the {kind.name} program cannot run here: {wine.WHY_NOT_32BIT}")
        self.assertEqual(self.install(kind, VERSION), 0)
        script = Path(session["folder"].name) / "par le shell.skervo"
        script.write_bytes(b"@3\nprogramme_inconnu_shell\n")
        offset = os.path.getsize(session["log"])
        # start opens the script as a double-click does: through the file type. Wine keeps a
        # 32-bit package's file type in the 32-bit view, which its 32-bit start reads.
        start = "start"
        if kind.bits == 32:
            start = PREFIX / "drive_c" / "windows" / "syswow64" / "start.exe"
        opened = subprocess.Popen(
            wine.command(start, "/wait", windows_path(script)), env=ENV,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
        )
        running = test_e2e.settled(
            lambda: command_lines(windows_path(script)), lambda found: found, seconds=30
        )
        self.assertEqual(opened.wait(timeout=60), 0)
        self.assertEqual(running, [[kind.windows_folder + "\\skervo.exe", windows_path(script)]])
        self.assertEqual(recorded_boxes(offset), [not_run("programme_inconnu_shell")])
        self.assertEqual(self.remove(kind, VERSION), 0)
        self.assert_removed()


def command_lines(script):
    """The command lines of the running Wine processes that were given this script, as Wine
    shows them to Linux: the Windows program's path, then its arguments."""
    found = []
    for cmdline in Path("/proc").glob("[0-9]*/cmdline"):
        try:
            arguments = cmdline.read_bytes().decode("utf-8", "replace").split("\0")
        except OSError:
            continue
        arguments = [argument for argument in arguments if argument]
        if arguments[1:] == [script]:
            found.append(arguments)
    return found


class PlatformTest(unittest.TestCase):
    @for_each_kind
    def test_the_package_is_for_all_users_of_its_platform(self, kind):
        package = kind.packages[VERSION][0]
        summary = subprocess.run(["msiinfo", "suminfo", package], capture_output=True, text=True)
        # Windows Installer refuses an x64 package on 32-bit Windows before it changes anything
        # (error 1633); an Intel one installs on either.
        platform = "x64" if kind.bits == 64 else "Intel"
        self.assertIn(f"Template: {platform};1036\n", summary.stdout)
        self.assertEqual(property_value(package, "ALLUSERS"), "1")

    def test_the_uninstall_entry_links_to_the_address_only_when_there_is_one(self):
        kind = KINDS[0]
        package, folder = kind.packages[VERSION]
        with_address = package.with_name("with-address.msi")
        package_msi(folder, kind, VERSION, with_address, "https://skervo.example/")
        for built, link in ((package, None), (with_address, "https://skervo.example/")):
            properties = dict(table(built, "Property"))
            self.assertEqual(
                (properties.get("ARPURLINFOABOUT"), properties.get("ARPHELPLINK")), (link, link)
            )


if __name__ == "__main__":
    unittest.main(verbosity=2)
