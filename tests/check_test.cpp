// skervo-check: each finding on a script that shows it and on the nearest
// one that must not, the machine's findings on a simulated desktop, and the
// checker's command line and output.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "check/checker.h"
#include "check/script_check.h"
#include "check/system_machine.h"
#include "tests/sim/sim_test.h"

using sim::desktop;
using Codes = std::vector<std::string>;

namespace {

struct Row {
    const char* script;
    Codes codes;  // "line:code", in line order
};

}  // namespace

class CheckTest : public SimTest {
  protected:
    // A desktop with one program, one document, one service and one phone-book entry.
    void SetUp() override {
        SimTest::SetUp();
        desktop.AddProgram("C:\\Outils\\app.exe");
        desktop.files["C:\\Docs\\note.txt"] = "";
        desktop.folders.insert("C:\\Docs");
        desktop.services.services["spouleur"] = {};
        desktop.libraries["rasapi32.dll"] = sim::RasExports("A");
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
            {"C:\\a.exe %TEMP%\\x\n", {"1:variable"}},
            {"C:\\a.exe 100% 50%\n", {}},
            {"&- maintenant\n", {"1:connexion"}},
            {"&-\n", {}},
            {"&> ,-\n", {"1:connexion"}},
            {"&>,-\n", {}},
            {"&>,- vite\n", {"1:connexion"}},
            {"&&\n", {"1:connexion"}},
            {"&&Bureau\n", {}},
            {"&Mon entree\n", {"1:connexion"}},
            {"&Bureau\n", {}},
            {"&\n", {"1:connexion"}},
            {"&<x\n", {"1:connexion"}},
            {"\xFF\xFE"
             "C\0:\0\n\0",
             {"1:encodage"}},
            {"C:\\caf\xC3\xA9.exe\n", {}},
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
}

TEST_F(CheckTest, EachMachineFindingAndItsNearestScriptWithout) {
    skervo::SystemMachine machine;
    ExpectRows(
        {
            {"C:\\Outils\\absent.exe /x\n", {"1:introuvable"}},
            {"C:\\Outils\\app.exe /x\n", {}},
            {">>C:\\Outils\\absent.exe\n", {"1:introuvable"}},
            {"C:\\Docs\\absent.txt\n", {"1:introuvable"}},
            {"C:\\Docs\\note.txt\n", {}},
            {"C:\\Docs\n", {}},
            {"<C:\\Outils\\absent.exe\n", {"1:introuvable"}},
            {"<C:\\Outils\\app.exe\n", {}},
            {"NETSTOP Inconnu\n", {"1:droits", "1:service-inconnu"}},
            {"NETSTOP SPOULEUR\n", {"1:droits"}},
            {"&&Inconnue\n", {"1:entree-inconnue"}},
            {"&&Bureau\n", {}},
            {"&Inconnue\n", {}},
            // A text error says it all: the machine is not asked.
            {"@ C:\\Outils\\absent.exe\n\n", {"1:blanc-apres-arobase"}},
        },
        &machine);
    desktop.services.opens = false;
    ExpectRows({{"NETSTOP Inconnu\n", {"1:droits"}}}, &machine);

    desktop.libraries.erase("rasapi32.dll");
    skervo::SystemMachine withoutDialup;
    ExpectRows({{"&<\n&-\n", {"1:bibliotheque"}}, {"&Bureau\n&&\n", {"2:connexion"}}},
               &withoutDialup);
    EXPECT_TRUE(desktop.services.starts.empty() && desktop.services.stops.empty() &&
                desktop.dialup.dials.empty() && desktop.processes.empty());
    EXPECT_EQ(desktop.OpenHandleCount(), 0u);
}

TEST_F(CheckTest, TheCommandLineChoosesFilesSwitchesAndTheExitCode) {
    desktop.files["C:\\bon.skervo"] = "C:\\Outils\\app.exe\n";
    desktop.files["C:\\remarque.skervo"] = "NETSTART Spouleur\n";
    desktop.files["C:\\absent.skervo"] = "C:\\Outils\\absent.exe\n";
    struct Case {
        std::vector<std::string> parameters;
        int exitCode;
        std::string output;
    } cases[] = {
        {{}, 2, "Usage : skervo-check [/Expliquer] [/Syntaxe] FICHIER..."},
        {{"-expliquer"}, 2, "Usage : "},
        {{"C:\\bon.skervo"}, 0, ""},
        {{"C:\\remarque.skervo"},
         0,
         "C:\\remarque.skervo:1: remarque: commande de service : il faut les droits "
         "d'administrateur [droits]\n"},
        {{"C:\\absent.skervo"},
         1,
         "C:\\absent.skervo:1: erreur: introuvable sur cette machine : "
         "C:\\Outils\\absent.exe [introuvable]\n"},
        {{"/SYNTAXE", "C:\\absent.skervo"}, 0, ""},
        {{"C:\\bon.skervo", "C:\\rien.skervo", "C:\\absent.skervo"},
         2,
         "C:\\rien.skervo: erreur: fichier introuvable ou illisible [illisible]\n"},
        {{"/Expliquer", "C:\\bon.skervo"}, 0, "C:\\bon.skervo:1: lance C:\\Outils\\app.exe\n"},
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
}

TEST_F(CheckTest, ExplanationsSayWhatEachLineDoesAndWhatTheEndCloses) {
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
        "@C:\\Outils\\app.exe",
        &machine, skervo::Explanations::Given);
    const std::vector<std::pair<int, std::string>> expected = {
        {1, "lance C:\\Outils\\app.exe"},
        {2, "lance C:\\Outils\\app.exe"},
        {3, "compose sans bo\xEEte la connexion \xAB Bureau \xBB"},
        {4, "rien"},
        {5, "ferme les fen\xEAtres dont le titre contient \xAB Bloc-notes \xBB"},
        {6, "tue sans confirmation l'application C:\\Outils\\app.exe"},
        {7, "d\xE9marre le service Spouleur et attend qu'il y soit"},
        {8, "attend 30 s"},
        {9,
         "attend qu'il n'y ait plus de connexion, fen\xEAtre de suivi cach\xE9"
         "e"},
        {10,
         "ouvre C:\\Docs\\note.txt par son action par d\xE9"
         "faut"},
        {11, "lance C:\\Outils\\app.exe sans attendre sa fin (derni\xE8re ligne)"},
    };
    EXPECT_EQ(check.explanations, expected);
    EXPECT_EQ(
        check.endOfRun,
        "\xE0 la fin du script, tue sans confirmation C:\\Outils\\app.exe; \xE0 la fin du "
        "script, ferme C:\\Outils\\app.exe (apr\xE8s la fin de la connexion \xAB Bureau \xBB)");
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
