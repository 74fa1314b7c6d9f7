// skervo-check: each finding on a script that shows it and on the nearest
// one that must not, the machine's findings on a simulated desktop, and the
// checker's command line and output.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "check/checker.h"
#include "check/script_check.h"
#include "check/system_machine.h"
#include "tests/sim/sim_test.h"

using namespace std::string_literals;
using sim::desktop;
using Codes = std::vector<std::string>;

namespace {

struct Row {
    std::string script;
    Codes codes;  // "line:code", in line order
};

}  // namespace

class CheckTest : public SimTest {
  protected:
    // A desktop with one program, one document, one library, one service,
    // the remote-access manager running, one phone-book entry, a RAM disk
    // and a mapped network drive.
    void SetUp() override {
        SimTest::SetUp();
        desktop.driveTypes['R'] = skervo::platform::kDriveRamdisk;
        desktop.driveTypes['Z'] = skervo::platform::kDriveRemote;
        desktop.AddProgram("C:\\Outils\\app.exe");
        desktop.files["C:\\Docs\\note.txt"] = "";
        desktop.files["C:\\Windows\\System32\\user32.dll"] = "";
        desktop.folders.insert("C:\\Docs");
        desktop.services.services["spouleur"] = {};
        desktop.services.services["rasman"] = {.state = skervo::platform::kServiceRunning};
        desktop.libraries["rasapi32.dll"] = sim::RasExports("A");
        // The lookup that fetches a stored password is not the checker's to call.
        desktop.libraries["rasapi32.dll"].erase("RasGetEntryDialParamsA");
        desktop.dialup.phoneBook["Bureau"] = {};
    }

    static skervo::ScriptCheck Check(const std::string& script, skervo::Machine* machine,
                                     skervo::Explanations explanations = {}) {
        desktop.files["C:\\s.skervo"] = script;
        return skervo::CheckScript({"C:\\s.skervo", {}},
                                   {.explanations = explanations, .machine = machine});
    }

    static Codes CodesOf(const std::string& script, skervo::Machine* machine) {
        Codes codes;
        for (const skervo::Finding& finding : Check(script, machine).findings) {
            codes.push_back(std::to_string(finding.line) + ":" + std::string(finding.code));
        }
        return codes;
    }

    static void ExpectRows(const std::vector<Row>& rows, skervo::Machine* machine) {
        for (const Row& row : rows) {
            EXPECT_EQ(CodesOf(row.script, machine), row.codes) << row.script;
        }
    }
};

TEST_F(CheckTest, EachTextFindingAndItsNearestScriptWithout) {
    ExpectRows(
        {
            {"C:\\Program Files\\App\\app.exe /x\n", {"1:guillemets"}},
            {"\"C:\\Program Files\\App\\app.exe\" /x\n", {}},
            {"<app.exe\n", {"1:chemin-relatif"}},
            {"<C:\\Outils\\app.exe\n", {}},
            {"<\"..\\app.EXE\"\n", {"1:chemin-relatif"}},
            {"<Bloc-notes\n", {}},
            {"C:\\a.exe\n@5", {"2:pause-finale"}},
            {"C:\\a.exe\n@5\n\n", {}},
            {"@C:\\a.exe", {"1:attente-finale"}},
            {"@C:\\a.exe\n# fin\n", {}},
            {"@30 # commentaire\n\n", {"1:texte-en-trop"}},
            {"@30\n\n", {}},
            {"- cache\n", {"1:texte-en-trop"}},
            {"-\n", {}},
            {"C:\\a.exe # note\n", {"1:commentaire"}},
            {"C:\\C#\\a.exe \"# titre\"\n", {}},
            {"C:\\a.exe %TEMP%\\x\n", {"1:variable"}},  // a remark: its value is the PC's
            {"C:\\a.exe %TEMP\\x\n", {"1:variable"}},   // a warning: nothing closes it
            {"C:\\a.exe 100% 50% http://s/a%20b%20c\n", {}},
            {"&- maintenant\n", {"1:connexion"}},
            {"&-\n", {}},
            {"&> ,-\n", {"1:connexion"}},
            {"&>,-\n", {}},
            {"&>,- vite\n", {"1:connexion"}},
            {"&&\n", {"1:connexion"}},
            {"&&Bureau\n", {}},
            {"&Mon entree\n", {}},
            {"&Bureau\n", {}},
            {"&\n", {"1:connexion"}},
            {"&<x\n", {"1:connexion"}},
            {"&Agence\" -f \"\\\\h\\p.pbk\n&Ag\x1B"
             "ence\n&&Ag\"ence\n",
             {"1:nom-de-connexion", "2:nom-de-connexion"}},
            {"\xFF\xFE"
             "C\0:\0\n\0",
             {"1:encodage"}},
            {"C\0:\0\\\0"s, {"1:encodage"}},
            {"C:\\a.exe\0\nC:\\b\0.exe\n"s, {}},  // stray zero bytes
            {"C:\\caf\xC3\xA9.exe\n", {}},
            {"C:\\\xE3\x82\xBD.exe\n", {"1:page-de-codes"}},  // a katakana
            {"C:\\a.exe\r@2\n", {"1:fin-de-ligne"}},
            {"C:\\a.exe\r\r\nC:\\b.exe\r", {}},
            {"C:\\a.exe\t/x\n", {"1:tabulation"}},
            {"C:\\a.exe /x\t/y\n", {}},
            {"C:\\a\x81.exe\n", {"1:encodage"}},
            {"C:\\a\xE9.exe\n", {}},
            {"C:\\a.exe\n\x1Aplus\n", {"2:apres-fin"}},
            {"C:\\a.exe\n\x1A\r\n", {}},
            {"# rien\n\n", {"2:vide"}},
            {"", {"1:vide"}},
            {"+\n", {}},
            {"NETSTART Spouleur\n", {"1:droits"}},
            {"C:\\Outils\\NETSTART.exe Spouleur\n", {}},
            {">\n", {"1:sans-nom"}},
            {"NETSTOP\n", {"1:sans-nom"}},
            {"<\"\"\n", {"1:sans-nom"}},
            {">C:\\a.exe\n", {}},
            {"@ C:\\a.exe\n\n", {"1:blanc-apres-arobase"}},
            {"@C:\\a.exe\n\n", {}},
            {">app.exe\n", {"1:sans-dossier"}},
            {"app.exe\n", {"1:sans-dossier"}},
            {"@-5\n\n", {"1:pause-negative"}},
            {"@0\n\n", {}},
        },
        nullptr);
    desktop.ansiCodePage = 932;  // where 0x81 leads an ordinary character
    ExpectRows({{"C:\\a\x81\x40.exe\n", {}}}, nullptr);
}

TEST_F(CheckTest, EachMachineFindingAndItsNearestScriptWithout) {
    skervo::SystemMachine machine;
    desktop.environment["DOSSIER"] = L"C:\\Outils";
    desktop.environment["ARRET"] = L"NETSTOP";
    ExpectRows(
        {
            {"C:\\Outils\\absent.exe /x\n", {"1:introuvable"}},
            // Checked as carried out on this PC, where DOSSIER is C:\Outils.
            {"%DOSSIER%\\app.exe /x\n<<%dossier%\\app.exe\n", {}},
            {"%PAS_DEFINIE%\\app.exe\n", {"1:variable-inconnue", "1:chemin-relatif"}},
            {"%ARRET% Spooler\n", {"1:non-executable"}},
            {"C:\\Outils\\app.exe /x\n", {}},
            {">>C:\\Outils\\absent.exe\n", {"1:introuvable"}},
            {"C:\\Docs\\absent.txt\n", {"1:introuvable"}},
            {"C:\\Docs\\note.txt\n", {}},
            {"C:\\Docs\n", {}},
            // C:\Outils\app.exe exists, but .exe is never added to a path.
            {"C:\\Outils\\app /x\n>C:\\Outils\\app\n@C:\\Outils\\app\n\n",
             {"1:introuvable", "2:introuvable", "3:introuvable"}},
            {"\"C:\\Docs\\note.txt\"\nC:\\Outils\\app.exe::$DATA\n", {"2:introuvable"}},
            {"<C:\\Outils\\absent.exe\n", {"1:introuvable"}},
            {"<C:\\Outils\\app.exe\n", {}},
            {"<<C:\\Windows\\System32\\user32.dll\n", {"1:pas-un-programme"}},
            {"<<C:\\Windows\\System32\\absent.dll\n", {}},
            {"NETSTOP Inconnu\n", {"1:droits", "1:service-inconnu"}},
            {"NETSTOP SPOULEUR\n", {"1:droits"}},
            {"&&Inconnue\n", {"1:entree-inconnue"}},
            {"&&Bureau\n", {}},
            {"&Inconnue\n", {}},
            {"\\\\serveur\\absent.exe\n<<\\\\serveur\\a.dll\n", {"1:reseau", "2:reseau"}},
            {"R:\\absent.exe\nC:/Outils/absent.exe\n", {"1:introuvable", "2:introuvable"}},
            // A text error says it all: the machine is not asked.
            {"@ C:\\Outils\\absent.exe\n\n", {"1:blanc-apres-arobase"}},
        },
        &machine);
    // Only a path on a drive of this PC is probed: any other may lead to a
    // server, a relative one through the current directory.
    desktop.probedPaths.clear();
    ExpectRows(
        {
            {"\\??\\UNC\\127.0.0.1\\partage\\b.exe\n"
             ">\\\\?\\UNC\\serveur\\p\\b.exe\n"
             "@\\\\.\\pipe\\b.exe\n"
             "<<\\GLOBAL??\\UNC\\s\\p\\b.dll\n"
             "Z:\\Outils\\absent.exe\n"
             "Q:\\absent.exe\n",
             {"1:reseau", "2:reseau", "3:reseau", "4:reseau", "5:reseau", "6:reseau"}},
            {"Outils\\absent.exe /x\n\\Outils\\absent.exe\nC:Outils\\absent.exe\n",
             {"1:chemin-relatif", "2:chemin-relatif", "3:chemin-relatif"}},
            {"app.exe\n<Bloc-notes\n<Outils\\app.exe\n",
             {"1:sans-dossier", "1:chemin-relatif", "3:chemin-relatif"}},
        },
        &machine);
    EXPECT_EQ(desktop.probedPaths, std::vector<std::string>{});
    desktop.services.administrator = false;  // a service the user may not query exists all the same
    ExpectRows({{"NETSTOP Spouleur\n", {"1:droits"}},
                {"NETSTOP Inconnu\n", {"1:droits", "1:service-inconnu"}}},
               &machine);
    desktop.services.administrator = true;
    desktop.services.opens = false;
    ExpectRows({{"NETSTOP Inconnu\n", {"1:droits"}}}, &machine);
    desktop.services.opens = true;
    // What an editor offers after NETSTART and after &.
    EXPECT_EQ(machine.ServiceNames(), (std::vector<std::string>{"rasman", "spouleur"}));
    EXPECT_EQ(machine.EntryNames(), std::vector<std::string>{"Bureau"});

    // Loading the library would start the remote-access manager: where it
    // does not run, the library is looked for and no entry is looked up.
    desktop.services.services["rasman"].state = skervo::platform::kServiceStopped;
    desktop.loadedLibraries.clear();
    skervo::SystemMachine managerStopped;
    ExpectRows({{"&&Inconnue\n&<\n", {"1:entree-non-verifiee"}}}, &managerStopped);
    EXPECT_TRUE(managerStopped.EntryNames().empty());
    EXPECT_TRUE(desktop.loadedLibraries.empty());

    desktop.libraries.erase("rasapi32.dll");
    for (const auto state :
         {skervo::platform::kServiceStopped, skervo::platform::kServiceRunning}) {
        desktop.services.services["rasman"].state = state;
        skervo::SystemMachine withoutDialup;
        ExpectRows({{"&<\n&-\n", {"1:bibliotheque"}},
                    {"&Bureau\n&&\n", {"2:connexion"}},
                    {"&Bureau\n&&Bureau\n", {}}},  // skipped by the runner: nothing bound
                   &withoutDialup);
    }
    EXPECT_TRUE(desktop.services.starts.empty() && desktop.services.stops.empty() &&
                desktop.dialup.dials.empty() && desktop.processes.empty());
    EXPECT_EQ(desktop.OpenHandleCount(), 0u);
}

TEST_F(CheckTest, TheCommandLineChoosesFilesSwitchesAndTheExitCode) {
    desktop.files["C:\\bon.skervo"] = "C:\\Outils\\app.exe\n";
    desktop.files["C:\\remarque.skervo"] = "NETSTART Spouleur\n";
    desktop.files["C:\\absent.skervo"] = "C:\\Outils\\absent.exe\n";
    desktop.files["C:\\pause.skervo"] = "@5";
    desktop.files["C:\\Scripts\\bon.skervo"] = "C:\\Outils\\app.exe\n";
    desktop.files["C:\\Scripts\\absent.skervo"] = "C:\\Outils\\absent.exe\n";
    desktop.folders.insert("C:\\Scripts\\vieux.skervo");
    desktop.files["C:\\reseau.skervo"] = "\\\\serveur\\absent.exe\x1B[2J\n";
    desktop.files["C:\\faux\n.skervo"] = "C:\\Outils\\absent.exe\n";
    struct Case {
        std::vector<std::string> parameters;
        int exitCode;
        std::string output;
    } cases[] = {
        {{}, 2, "Utilisation\xA0: skervo-check [/Expliquer] [/Syntaxe] [/Reseau] FICHIER..."},
        {{"-expliquer"}, 2, "Utilisation\xA0: "},
        {{"C:\\bon.skervo"}, 0, ""},
        {{"C:\\remarque.skervo"},
         0,
         "C:\\remarque.skervo:1: remarque: commande de service\xA0: il faut les droits "
         "d'administrateur [droits]\n"},
        {{"C:\\pause.skervo"}, 1, "[pause-finale]"},  // a warning alone
        {{"C:\\absent.skervo"},
         1,
         "C:\\absent.skervo:1: erreur: introuvable sur cette machine\xA0: "
         "C:\\Outils\\absent.exe [introuvable]\n"},
        {{"c:\\scripts\\*.SKERVO"},
         1,
         "c:\\scripts\\absent.skervo:1: erreur: introuvable sur cette machine\xA0: "
         "C:\\Outils\\absent.exe [introuvable]\n"},
        {{"c:/scripts/*.SKERVO"},
         1,
         "c:/scripts/absent.skervo:1: erreur: introuvable sur cette machine\xA0: "
         "C:\\Outils\\absent.exe [introuvable]\n"},
        {{"C:\\Scripts\\*.txt", "C:\\bon.skervo"},
         2,
         "C:\\Scripts\\*.txt: erreur: aucun fichier ne correspond \xE0 ce mod\xE8le "
         "[aucun-fichier]\n"},
        {{"/SYNTAXE", "C:\\absent.skervo"}, 0, ""},
        {{"C:\\bon.skervo", "C:\\rien.skervo", "C:\\absent.skervo"},
         2,
         "C:\\rien.skervo: erreur: fichier introuvable ou illisible [illisible]\n"},
        {{"/Expliquer", "C:\\bon.skervo"}, 0, "C:\\bon.skervo:1: lance C:\\Outils\\app.exe\n"},
        {{"C:\\reseau.skervo"}, 0, "[reseau]"},
        {{"/reseau", "C:\\reseau.skervo"}, 1, "\\\\serveur\\absent.exe\\x1B[2J [introuvable]"},
        // A line end in a file's name cannot forge a line of the report.
        {{"C:\\faux\n.skervo"}, 1, "C:\\faux\\x0A.skervo:1: erreur: introuvable"},
        {{"C:\\*\n*.txt"}, 2, "C:\\*\\x0A*.txt: erreur: aucun fichier"},
    };
    for (const Case& c : cases) {
        desktop.standardOutput.clear();
        std::vector<skervo::ScriptFile> parameters;
        for (const std::string& parameter : c.parameters) {
            parameters.push_back({parameter, {}});
        }
        skervo::SystemMachine machine;
        EXPECT_EQ(skervo::RunChecker(parameters, &machine), c.exitCode) << c.output;
        EXPECT_NE(desktop.standardOutput.find(c.output), std::string::npos)
            << desktop.standardOutput;
    }
    EXPECT_TRUE(desktop.processes.empty());
    EXPECT_EQ(desktop.errorMode, skervo::platform::kSemFailCriticalErrors);
    desktop.outputFails = true;
    EXPECT_EQ(skervo::RunChecker({{"C:\\remarque.skervo", {}}}, nullptr), 2)
        << "a report that could not be written";
}

// A console shows UTF-16 text, in pieces that every Windows takes; the 95
// family's only its OEM code page; a file or a pipe keeps the ANSI bytes.
TEST_F(CheckTest, TheReportIsReadableInAConsoleAndKeptAsItIsElsewhere) {
    std::string script;
    for (int line = 0; line < 2000; ++line) {
        script += "C:\\a.exe %TEMP\n";  // a report of some 150 KB
    }
    const struct {
        bool console;
        std::uint32_t platformId;
        std::wstring shown;
        std::string written;
    } cases[] = {
        {true, 2, L"  v\xE9rifie chaque script", ""},
        {true, 1, L"", "  v\x82rifie chaque script"},  // code page 850
        {false, 2, L"", "  v\xE9rifie chaque script"},
    };
    for (const auto& c : cases) {
        SetUp();
        desktop.outputIsConsole = c.console;
        desktop.platformId = c.platformId;
        desktop.files["C:\\long.skervo"] = script;
        EXPECT_EQ(skervo::RunChecker({}, nullptr), 2);
        EXPECT_NE(desktop.consoleText.find(c.shown), std::wstring::npos);
        EXPECT_NE(desktop.standardOutput.find(c.written), std::string::npos);
        EXPECT_EQ(desktop.consoleText.empty(), c.shown.empty());
        EXPECT_EQ(desktop.standardOutput.empty(), c.written.empty());

        const std::size_t shown = desktop.consoleText.size();
        const std::size_t written = desktop.standardOutput.size();
        EXPECT_EQ(skervo::RunChecker({{"C:\\long.skervo", {}}}, nullptr), 1);
        EXPECT_EQ(
            std::count(desktop.consoleText.begin() + shown, desktop.consoleText.end(), L'\n') +
                std::count(desktop.standardOutput.begin() + written, desktop.standardOutput.end(),
                           '\n'),
            2000);
        EXPECT_LE(desktop.longestWrite, 8192u);
    }
}

TEST_F(CheckTest, ExplanationsSayWhatEachLineDoesAndWhatTheEndCloses) {
    desktop.AddProgram("C:\\Docs.exe");
    skervo::SystemMachine machine;
    const skervo::ScriptCheck check = Check(
        ">C:\\Outils\\app.exe\n"
        ">>C:\\Outils\\app.exe /b\n"
        "&&Bureau\n"
        "&&Bureau\n"
        "<<Bloc-notes\n"
        "<<C:\\Outils\\app.exe\n"
        "@NETSTART Spouleur\n"
        "@30\n"
        "&>,-\n"
        "C:\\Docs\\note.txt\n"
        "C:\\Outils\\app\n"
        "C:\\Docs\n"
        "@C:\\Outils\\app.exe",
        &machine, skervo::Explanations::Given);
    const std::vector<std::pair<int, std::string>> expected = {
        {1, "lance C:\\Outils\\app.exe"},
        {2, "lance C:\\Outils\\app.exe"},
        {3,
         "compose sans bo\xEEte la connexion \xAB\xA0"
         "Bureau\xA0\xBB"},
        {4, "rien"},
        {5,
         "ferme les fen\xEAtres dont le titre contient \xAB\xA0"
         "Bloc-notes\xA0\xBB"},
        {6, "tue sans confirmation l'application C:\\Outils\\app.exe"},
        {7, "d\xE9marre le service Spouleur et attend qu'il y soit"},
        {8, "attend 30\xA0s"},
        {9,
         "attend qu'il n'y ait plus de connexion, fen\xEAtre de suivi cach\xE9"
         "e"},
        {10,
         "ouvre C:\\Docs\\note.txt par son action par d\xE9"
         "faut"},
        {11,
         "ouvre C:\\Outils\\app par son action par d\xE9"
         "faut"},  // never C:\Outils\app.exe
        {12,
         "ouvre C:\\Docs par son action par d\xE9"
         "faut"},  // never its namesake C:\\Docs.exe
        {13, "lance C:\\Outils\\app.exe sans attendre sa fin (derni\xE8re ligne)"},
    };
    EXPECT_EQ(check.explanations, expected);
    EXPECT_EQ(
        check.endOfRun,
        "\xE0 la fin du script, tue sans confirmation C:\\Outils\\app.exe\xA0; \xE0 la fin du "
        "script, demande la fermeture des fen\xEAtres de C:\\Outils\\app.exe (apr\xE8s la fin "
        "de la connexion \xAB\xA0"
        "Bureau\xA0\xBB)");
}

TEST_F(CheckTest, EveryExampleScriptChecksCleanOrWithRemarksOnly) {
    for (const auto& entry : std::filesystem::directory_iterator(SKERVO_EXAMPLES_DIR)) {
        std::ifstream file(entry.path(), std::ios::binary);
        const std::string script{std::istreambuf_iterator<char>(file), {}};
        for (const skervo::Finding& finding : Check(script, nullptr).findings) {
            EXPECT_EQ(finding.severity, skervo::Severity::Remark)
                << entry.path() << ":" << finding.line << " " << finding.code;
        }
    }
}
