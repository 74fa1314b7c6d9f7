// Script lines carried out through the whole program, as a user sees them.
#include <functional>

#include "script/download_mark.h"
#include "tests/sim/sim_test.h"

using sim::desktop;
using skervo::runState;
using Texts = std::vector<std::string>;

namespace {
const std::string kCannotRun =
    "Erreur : Impossible d'ex\xE9"
    "cuter : ";
}

class ScriptRunnerTest : public SimTest {};

TEST_F(ScriptRunnerTest, EachLineIsTrimmedAndDispatchedByItsFirstCharacters) {
    const Texts boxes = RunSilently(
        "# commentaire\n"
        "   \t# commentaire aussi\n"
        "\n"
        " \t \r\n"
        "\t inconnu.exe  /x \t\n"
        "<fermer\n"  // closing reports nothing
        "&& \n"      // connection lines are handled elsewhere (&& alone does nothing)
        "-\n"
        " + \n"
        "--\n"
        ">  lancer.exe a \n"
        ">>\n"
        "><x\n"
        "@\n"
        "C:\\a.exe # suite\n"
        "\x01\x1F"
        "fin\x7F\x02");
    EXPECT_EQ(boxes, (Texts{kCannotRun + "inconnu.exe  /x", kCannotRun + "--",
                            kCannotRun + "lancer.exe a", kCannotRun, kCannotRun + "<x", kCannotRun,
                            kCannotRun + "C:\\a.exe # suite", kCannotRun + "fin\\x7F"}));
    EXPECT_EQ(desktop.OpenHandleCount(), 0u);
}

TEST_F(ScriptRunnerTest, ACarriageReturnOnlyScriptIsOneLine) {
    EXPECT_EQ(RunSilently("aaa\rbbb\rccc\r"), Texts{kCannotRun + "aaabbbccc"});
}

TEST_F(ScriptRunnerTest, CtrlZEndsTheScript) {
    EXPECT_EQ(RunSilently("un\ndeux\x1Atrois\nquatre\n"),
              (Texts{kCannotRun + "un", kCannotRun + "deux"}));
}

// Each run carries out the script as it was when it started.
TEST_F(ScriptRunnerTest, AScriptReplacedOrDeletedDuringItsRunRunsOnAsItWas) {
    desktop.scheduled.emplace(1000, [] { desktop.files["C:\\s.skervo"] = "@2\nnouveau\n"; });
    desktop.scheduled.emplace(1500, [] { desktop.files.erase("C:\\s.skervo"); });
    EXPECT_EQ(RunSilently("@2\nancien\n"), Texts{kCannotRun + "ancien"});
}

TEST_F(ScriptRunnerTest, TheLineFlagsFollowEachCommandLine) {
    RunSilently(">>x\n# a comment keeps them\n");
    EXPECT_TRUE(runState.ClosingCommand);
    EXPECT_TRUE(runState.NoConfirmation);
    RunSilently(">>x\nplain\n");
    EXPECT_FALSE(runState.ClosingCommand);
    EXPECT_FALSE(runState.NoConfirmation);
    EXPECT_EQ(runState.ScriptLine, "plain");
}

TEST_F(ScriptRunnerTest, HideAndShowLinesNeedTheNotificationIcon) {
    desktop.files["C:\\s.skervo"] = "-\n@1\n#\n";
    bool hiddenDuringPause = false;
    desktop.onSleep = [&] { hiddenDuringPause = !StatusWindow().visible; };
    RunProgram("C:\\s.skervo");
    EXPECT_TRUE(hiddenDuringPause);

    SetUp();
    desktop.trayAddSucceeds = false;
    desktop.files["C:\\s.skervo"] = "-\n@1\n#\n";
    bool everHidden = false;
    desktop.onSleep = [&] { everHidden = everHidden || !StatusWindow().visible; };
    RunProgram("C:\\s.skervo");
    EXPECT_FALSE(everHidden);

    SetUp();
    desktop.files["C:\\s.skervo"] = "-\n+\n";
    RunProgram("C:\\s.skervo");
    EXPECT_TRUE(StatusWindow().visible);
}

TEST_F(ScriptRunnerTest, TheTipNamesTheScriptFromItsFirstLineOn) {
    desktop.files["C:\\Mes scripts\\s.skervo"] = "# a\n\n# b";
    RunProgram("\"C:\\Mes scripts\\s.skervo\"");
    EXPECT_EQ(desktop.trayModifications, 1) << "set from the first line on, a comment too";
    EXPECT_STREQ(runState.TrayIconData.tip.data(), "Skervo' - C:\\Mes scripts\\s.skervo");
    EXPECT_EQ(runState.TrayIconData.flags, skervo::platform::kNifTip);
}

TEST_F(ScriptRunnerTest, ClosingTheWindowStopsTheRunBetweenLines) {
    desktop.files["C:\\s.skervo"] = "@1\ninconnu\n";
    desktop.CloseWindowAfter(500, "Numrak");
    RunProgram("C:\\s.skervo");
    EXPECT_TRUE(runState.StopRequested);
    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_EQ(desktop.OpenHandleCount(), 0u);
}

TEST_F(ScriptRunnerTest, AWindowThatCouldNotBeCreatedStopsTheRunBeforeItsFirstLine) {
    desktop.windowCreationFails = true;
    desktop.files["C:\\s.skervo"] = "inconnu\n";
    RunProgram("C:\\s.skervo");
    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_TRUE(runState.StopRequested);
}

TEST_F(ScriptRunnerTest, AScriptPathOutsideTheAnsiCodePageIsOpenedByItsWideForm) {
    // "Łódź été": the 8-bit command line loses the Ł and the ź.
    desktop.commandLineW =
        L"skervo.exe \"C:\\\x0141\xF3"
        L"d\x017A \xE9t\xE9\\s.skervo\" /Silent";
    desktop.files
        ["C:\\\xC5\x81\xC3\xB3"
         "d\xC5\xBA \xC3\xA9t\xC3\xA9\\s.skervo"] = "inconnu\n";
    desktop.files
        ["C:\\?\xF3"
         "d? \xE9t\xE9\\s.skervo"] = "autre\n";  // what the 8-bit path names
    RunProgram(
        "\"C:\\?\xF3"
        "d? \xE9t\xE9\\s.skervo\" /Silent");
    EXPECT_EQ(BoxTexts(), Texts{kCannotRun + "inconnu"});
    EXPECT_EQ(runState.Parameters.at(1),
              "C:\\?\xF3"
              "d? \xE9t\xE9\\s.skervo")
        << "shown as given";
}

// A script that came from the Internet asks first; the system's mark says so.
TEST_F(ScriptRunnerTest, ADownloadedScriptRunsOnlyOnceTheUserSaysSo) {
    const std::string question =
        "Ce script a \xE9t\xE9 t\xE9l\xE9"
        "charg\xE9 depuis Internet :\r\nC:\\s.skervo\r\n\r\nProvenance : https://exemple.fr/"
        "f.zip\r\n\r\nUn script peut lancer n'importe quel programme avec vos droits. Ne "
        "l'ex\xE9"
        "cutez que si vous savez qui l'a \xE9"
        "crit.\r\n\r\nEx\xE9"
        "cuter ce script ?";
    const struct {
        std::string mark;  // the Zone.Identifier stream; none when empty
        std::string switches;
        int answer;
        Texts boxes;
        std::uint32_t exitCode;
    } cases[] = {
        {"", "", 7, {kCannotRun + "inconnu"}, 0},
        {"[ZoneTransfer]\r\nZoneId=2\r\n", "", 7, {kCannotRun + "inconnu"}, 0},  // intranet
        {"[ZoneTransfer]\r\nZoneId=3\r\nHostUrl=https://exemple.fr/f.zip\r\n",
         "/Delai:5",
         6,
         {question, kCannotRun + "inconnu"},
         2},
        {"[ZoneTransfer]\r\nZoneId=3\r\nHostUrl=https://exemple.fr/f.zip\r\n",
         "/Delai:5",
         7,
         {question},
         3},
        {"[ZoneTransfer]\r\nZoneId=3\r\n", "/Silent /Delai:5", 6, {}, 3},  // nobody to ask
    };
    for (const auto& c : cases) {
        SetUp();
        desktop.files["C:\\s.skervo"] = "inconnu\n";
        if (!c.mark.empty()) {
            desktop.files["C:\\s.skervo:Zone.Identifier"] = c.mark;
        }
        desktop.yesNoAnswer = c.answer;
        EXPECT_EQ(RunProgram("C:\\s.skervo " + c.switches), c.exitCode) << c.mark;
        EXPECT_EQ(BoxTexts(), c.boxes) << c.mark;
    }
    SetUp();
    desktop.files["C:\\s.skervo"] = "inconnu\n";
    desktop.files["C:\\s.skervo:Zone.Identifier"] = "[ZoneTransfer]\nZoneId=4\n";
    RunProgram("C:\\s.skervo");
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_TRUE(desktop.boxes[0].text.starts_with("Ce script vient d'un site sensible :\r\n"));
    EXPECT_NE(desktop.boxes[0].text.find("Provenance : inconnue"), std::string::npos);
    EXPECT_EQ(desktop.boxes[0].style, 0x134u) << "Oui and Non, Non by default, a warning";
}

// The mark as the system reads it, whatever its form: a mark that is there
// but says nothing readable counts as the Internet's.
TEST(DownloadMark, IsReadAsTheSystemReadsASettingsFile) {
    const auto utf16 = [](std::string_view text) {
        std::string bytes = "\xFF\xFE";
        for (const char c : text) {
            bytes += c;
            bytes += '\0';
        }
        return bytes;
    };
    const std::string longUrl(5000, 'a');
    const struct {
        std::string stream;
        int zone;
        std::string origin;
    } cases[] = {
        {"[ZoneTransfer]\r\nZoneId=2\r\n", 2, ""},
        {"[ZoneTransfer]\r\nZoneId = 3\r\n", 3, ""},
        {"[ZoneTransfer]\r\nZoneId=03\r\n", 3, ""},
        {"[ZoneTransfer]\r\nZoneId=3 ; commentaire\r\n", 3, ""},
        {utf16("[ZoneTransfer]\r\nZoneId=3\r\nHostUrl=https://a.fr/x\r\n"), 3, "https://a.fr/x"},
        {"[ZoneTransfer]\r\nReferrerUrl=" + longUrl + "\r\nZoneId=3\r\n", 3,
         longUrl.substr(0, 200)},
        {"[Other]\r\nZoneId=0\r\n[zonetransfer]\r\nZoneId=3\r\n", 3, ""},
        {"[ZoneTransfer]\r\nZoneId=3\r\nReferrerUrl=https://r.fr/\r\n", 3, "https://r.fr/"},
        {"[ZoneTransfer]\r\nZoneId=3\r\nHostUrl=https://a.fr/\rProvenance v\xE9rifi\xE9"
         "e : x",
         3, "https://a.fr/"},
        {"[ZoneTransfer]\nZoneId=4\nHostUrl=https://a\x1B[2J\x7F\tb\n", 4,
         "https://a\\x1B[2J\\x7F\tb"},
        {"[ZoneTransfer]\r\nHostUrl=https://a.fr/\r\n", 3, "https://a.fr/"},  // no zone
        {"[ZoneTransfer]\r\nZoneId=-1\r\n", 3, ""},
        {"\xFF\xFE\x00\xD8", 3, ""},  // UTF-16 that is no text
    };
    for (const auto& c : cases) {
        const skervo::DownloadMark mark = skervo::ParseDownloadMark(c.stream);
        EXPECT_EQ(mark.zone, c.zone) << c.stream.substr(0, 80);
        EXPECT_EQ(mark.origin, c.origin) << c.stream.substr(0, 80);
    }
}

// The mark of the file opened, and a mark that cannot be read, stop a
// silent run before its first line.
TEST_F(ScriptRunnerTest, AMarkHiddenOrUnreadableStillStopsASilentRun) {
    const std::string mark = "[ZoneTransfer]\r\nZoneId=3\r\n";
    const struct {
        const char* what;
        std::string script;  // as the command line names it
        std::function<void()> arrange;
    } cases[] = {
        {"a trailing dot", "C:\\s.skervo.",
         [&] { desktop.files["C:\\s.skervo:Zone.Identifier"] = mark; }},
        {"a trailing blank", "\"C:\\s.skervo \"",
         [&] { desktop.files["C:\\s.skervo:Zone.Identifier"] = mark; }},
        {"unreadable", "C:\\s.skervo",
         [&] {
             desktop.files["C:\\s.skervo:Zone.Identifier"] = mark;
             desktop.refusedFiles["C:\\s.skervo:Zone.Identifier"] = {};
         }},
        {"longer than any", "C:\\s.skervo",
         [&] { desktop.files["C:\\s.skervo:Zone.Identifier"] = std::string(70000, ' '); }},
    };
    for (const auto& c : cases) {
        SetUp();
        desktop.files["C:\\s.skervo"] = "inconnu\n";
        c.arrange();
        EXPECT_EQ(RunProgram(c.script + " /Silent /Delai:5"), 3u) << c.what;
        EXPECT_EQ(BoxTexts(), Texts{}) << c.what;
    }
}

// With an administrator's rights, a script or a journal that others may
// change, or a journal reached through a link, would let them turn the run.
TEST_F(ScriptRunnerTest, AnElevatedRunTrustsOnlyFilesThatTrustedAccountsAloneMayChange) {
    const skervo::platform::FileSecurity everyoneMayChange{"S-1-5-32-544",
                                                           {{true, "S-1-1-0", 0x1301FF}}};
    const std::string refusedScript =
        "Erreur : Le script 'C:\\S\\s.skervo' n'a pas \xE9t\xE9 ex\xE9"
        "cut\xE9 : ";
    const std::string adminsOnly =
        ".\r\nAvec les droits d'administrateur, Skervo n'ex\xE9"
        "cute qu'un script que seuls les administrateurs peuvent modifier, dans des dossiers "
        "qu'eux seuls peuvent modifier.";
    const std::string refusedJournal =
        "Erreur : Impossible d'\xE9"
        "crire le journal 'C:\\J\\j.log' : ";
    const std::string othersMay =
        "d'autres utilisateurs que les administrateurs peuvent modifier '";
    const std::string notPlain =
        "ce n'est pas un simple fichier \xE0 cet endroit (un lien, ou un fichier \xE0 plusieurs "
        "noms)";
    const struct {
        const char* what;
        std::function<void()> arrange;
        std::uint32_t exitCode;
        Texts boxes;
        bool victimWritten = false;  // the file a link leads to took the entries
    } cases[] = {
        {"not elevated",
         [&] { desktop.fileSecurity["C:\\S"] = everyoneMayChange; },
         2,
         {kCannotRun + "inconnu"}},
        {"elevated, administrators alone",
         [&] { desktop.tokenElevated = true; },
         2,
         {kCannotRun + "inconnu"}},
        {"elevated, Everyone may change the folder",
         [&] {
             desktop.tokenElevated = true;
             desktop.fileSecurity["C:\\S"] = everyoneMayChange;
         },
         3,
         {refusedScript + othersMay + "C:\\S'" + adminsOnly}},
        {"SYSTEM",
         [&] {
             desktop.tokenUser = "S-1-5-18";
             desktop.fileSecurity["C:\\S\\s.skervo"] = everyoneMayChange;
         },
         3,
         {refusedScript + othersMay + "C:\\S\\s.skervo'" + adminsOnly}},
        {"an administrator before Vista",
         [&] {
             desktop.tokenElevated = std::nullopt;
             desktop.tokenGroups.push_back("S-1-5-32-544");
             desktop.fileSecurity["C:\\"] = everyoneMayChange;
         },
         3,
         {refusedScript + othersMay + "C:\\'" + adminsOnly}},
        {"a user before Vista",
         [&] {
             desktop.tokenElevated = std::nullopt;
             desktop.fileSecurity["C:\\"] = everyoneMayChange;
         },
         2,
         {kCannotRun + "inconnu"}},
        {"a link to a script others may change",
         [&] {
             desktop.tokenElevated = true;
             desktop.links["C:\\S\\s.skervo"] = "C:\\U\\s.skervo";
             desktop.files["C:\\U\\s.skervo"] = "inconnu\n";
             desktop.fileSecurity["C:\\U"] = everyoneMayChange;
         },
         3,
         {refusedScript + othersMay + "C:\\U'" + adminsOnly}},
        {"no security to read",
         [&] {
             desktop.tokenElevated = true;
             desktop.fileSecurity["C:\\S"] = std::nullopt;
         },
         3,
         {refusedScript +
          "les droits de 'C:\\S' ne peuvent pas \xEAtre lus (un disque FAT n'en a pas)" +
          adminsOnly}},
        {"a journal others may change",
         [&] {
             desktop.tokenElevated = true;
             desktop.fileSecurity["C:\\J"] = everyoneMayChange;
         },
         3,
         {refusedJournal + othersMay + "C:\\J'"}},
        {"a journal that links to another file",
         [&] {
             desktop.tokenElevated = true;
             desktop.links["C:\\J\\j.log"] = "C:\\victime.ini";
         },
         3,
         {refusedJournal + notPlain}},
        {"a journal that links to no file yet",
         [&] {
             desktop.tokenElevated = true;
             desktop.files.erase("C:\\victime.ini");
             desktop.links["C:\\J\\j.log"] = "C:\\victime.ini";
         },
         3,
         {refusedJournal + notPlain}},
        {"a journal with a second name",
         [&] {
             desktop.tokenElevated = true;
             desktop.hardLinkCounts["C:\\J\\j.log"] = 2;
         },
         3,
         {refusedJournal + notPlain}},
        {"not elevated, a journal through a link",
         [&] { desktop.links["C:\\J\\j.log"] = "C:\\victime.ini"; },
         2,
         {kCannotRun + "inconnu"},
         true},
    };
    for (const auto& c : cases) {
        SetUp();
        desktop.files["C:\\S\\s.skervo"] = "inconnu\n";
        desktop.files["C:\\J\\j.log"] = "";
        desktop.files["C:\\victime.ini"] = "[x]\r\n";
        c.arrange();
        const bool journal = std::string(c.what).find("journal") != std::string::npos;
        EXPECT_EQ(RunProgram(std::string("C:\\S\\s.skervo /Delai:5") +
                             (journal ? " /Journal:C:\\J\\j.log" : "")),
                  c.exitCode)
            << c.what;
        EXPECT_EQ(BoxTexts(), c.boxes) << c.what;
        const bool missing = std::string(c.what).ends_with("no file yet");
        EXPECT_EQ(desktop.files.contains("C:\\victime.ini"), !missing) << c.what;
        if (!missing) {
            EXPECT_EQ(desktop.files.at("C:\\victime.ini") != "[x]\r\n", c.victimWritten) << c.what;
        }
    }
}

// %NAME% is replaced in what a line works on, just before it is carried
// out: never in its command, a pause's count or the window commands. An
// undefined name stays as written; a line that cannot be carried out once
// replaced is reported as written.
TEST_F(ScriptRunnerTest, VariablesAreReplacedInWhatEachFormNames) {
    const struct {
        std::string line;
        Texts done;  // the process started, "kill ..." or "close ...", or the box
    } cases[] = {
        {"%DOSSIER%\\app.exe /x", {"C:\\Outils\\app.exe"}},
        {"\"%DOSSIER%\\mon app.exe\" /x", {"C:\\Outils\\mon app.exe"}},
        {">%dossier%\\app.exe", {"C:\\Outils\\app.exe", "close Mon application"}},
        {"@%DOSSIER%\\app.exe", {"C:\\Outils\\app.exe"}},
        {"<<%DOSSIER%\\app.exe", {"kill C:\\Outils\\app.exe"}},
        {"<%TITRE%", {"close Mon application"}},
        {">%CHEVRON%", {kCannotRun + ">calc"}},  // the command is >, not >>
        {"@%DELAI%", {kCannotRun + "5"}},        // no pause: the written line names a program
        {"%PAS_DEFINIE%\\x.exe", {kCannotRun + "%PAS_DEFINIE%\\x.exe"}},
        {"%%\\x.exe", {kCannotRun + "%%\\x.exe"}},
        {"%LONGUE%", {kCannotRun + "%LONGUE%"}},
        {"%OMEGA%\\x.exe", {kCannotRun + "%OMEGA%\\x.exe"}},
        // A value names the dialog's entry, never another connection command.
        {"&%ENTREE%", {"Erreur : Impossible de se connecter : <Agence\""}},
        {"%ARRET% Spooler", {kCannotRun + "%ARRET% Spooler"}},  // nor a service command
        {"@%ARRET% Spooler", {kCannotRun + "@%ARRET% Spooler"}},
        {std::string("%DOSSIER%\\x\0%TITRE%", 19),
         {kCannotRun + "C:\\Outils\\x\\x00Mon application"}},
    };
    for (const auto& c : cases) {
        SetUp();
        desktop.environment = {{"DOSSIER", L"C:\\Outils"},
                               {"TITRE", L"Mon application"},
                               {"CHEVRON", L">calc"},
                               {"DELAI", L"5"},
                               {"LONGUE", std::wstring(40000, L'x')},
                               {"OMEGA", L"C:\\\x03A9"},
                               {"ENTREE", L"<Agence\""},
                               {"ARRET", L"NETSTOP"}};
        desktop.AddProgram("C:\\Outils\\app.exe",
                           {.windowTitles = {"Mon application"}, .runsFor = 1000});
        desktop.AddProgram("C:\\Outils\\mon app.exe");
        if (c.line.starts_with("<")) {
            desktop.StartProcess("C:\\Outils\\app.exe");
        }
        const Texts boxes = RunSilently(c.line + "\n#\n");
        Texts done = boxes;
        for (const auto& [id, process] : desktop.processes) {
            if (!c.line.starts_with("<")) {
                done.push_back(process.image);
            }
        }
        done.insert(done.end(), desktop.actions.begin(), desktop.actions.end());
        EXPECT_EQ(done, c.done) << c.line;
    }
}
