// Unattended runs: the journal, the time limits and the exit codes.
#include <algorithm>

#include "tests/dialup_fixture.h"

using sim::desktop;
using Lines = std::vector<std::string>;

namespace {

class UnattendedRunTest : public DialupTest {
  protected:
    // Runs the script with these parameters after it; answers the exit code.
    static std::uint32_t Run(const std::string& script, const std::string& switches) {
        desktop.files["C:\\s.skervo"] = script;
        return RunProgram("C:\\s.skervo " + switches);
    }

    // The journal's lines after its byte-order mark, each without its time
    // and run mark, which the first line shows whole.
    static Lines Entries(const std::string& path = "C:\\j.log") {
        std::string text = desktop.files[path];
        EXPECT_TRUE(text.starts_with("\xEF\xBB\xBF")) << text;
        Lines lines;
        for (std::size_t at = 3, end; (end = text.find("\r\n", at)) != std::string::npos;
             at = end + 2) {
            const std::string line = text.substr(at, end - at);
            lines.push_back(line.starts_with("\t") ? line : line.substr(line.find("] ") + 2));
        }
        return lines;
    }
};

const std::string kHeader =
    "D\xC3\xA9"
    "but : Skervo " SKERVO_VERSION
    " (64 bits), poste PC-042, utilisateur jean, script C:\\s.skervo";

}  // namespace

TEST_F(UnattendedRunTest, TheJournalSaysWhatEachLineDidAndNoBoxWaits) {
    desktop.AddProgram("C:\\Outils\\app.exe");
    desktop.AddProgram("C:\\Outils\\long.exe");
    desktop.AddProgram("C:\\Outils\\court.exe", {.runsFor = 1000, .exitCode = 4});
    desktop.services.services["spooler"].pendingQueries = 1000;
    const std::string script =
        "# nuit\r\n@2\r\n>C:\\Outils\\app.exe\r\n@C:\\Outils\\court.exe\r\n"
        "@C:\\Outils\\long.exe /x\r\nprogramme_inconnu\r\n\r\nNETSTART Spooler\r\n"
        "<<C:\\Outils\\app.exe\r\n-\r\n@5\r\n";
    EXPECT_EQ(Run(script, "/Silent /Journal:C:\\j.log /Delai:30"), 2u);
    EXPECT_TRUE(desktop.boxes.empty());
    EXPECT_TRUE(
        desktop.files["C:\\j.log"].starts_with("\xEF\xBB\xBF"
                                               "2026-12-08 09:00:00.000 [PC-042 1] D\xC3\xA9"
                                               "but"));
    EXPECT_EQ(Entries(),
              (Lines{kHeader + ", options /Silent /Journal:C:\\j.log /Delai:30",
                     "ligne 2 : @2 : pause de 2 s",
                     "ligne 3 : >C:\\Outils\\app.exe : lanc\xC3\xA9, processus 1000",
                     "ligne 4 : @C:\\Outils\\court.exe : lanc\xC3\xA9, processus 1004",
                     "ligne 4 : @C:\\Outils\\court.exe : termin\xC3\xA9 en \xC3\xA9"
                     "chec, code de sortie 4",
                     "ligne 5 : @C:\\Outils\\long.exe /x : lanc\xC3\xA9, processus 1008",
                     "ligne 5 : @C:\\Outils\\long.exe /x : d\xC3\xA9lai de 30 s atteint : "
                     "Attente fin long.exe",
                     "ligne 6 : programme_inconnu : non lanc\xC3\xA9 : le chemin d'acc\xC3\xA8s "
                     "complet est n\xC3\xA9"
                     "cessaire",
                     "ligne 6 : programme_inconnu : bo\xC3\xAEte \xC2\xAB Skervo 2.0 \xC2\xBB : "
                     "Erreur : Impossible d'ex\xC3\xA9"
                     "cuter : programme_inconnu",
                     "ligne 8 : NETSTART Spooler : d\xC3\xA9marrage du service demand\xC3\xA9",
                     "ligne 9 : <<C:\\Outils\\app.exe : processus tu\xC3\xA9s : 1",
                     "ligne 10 : - : sans effet : pas de fen\xC3\xAAtre de suivi",
                     "ligne 11 : @5 : pause saut\xC3\xA9"
                     "e : derni\xC3\xA8re ligne",
                     "fin du script : toujours en cours : long.exe, processus 1008",
                     "fin du script : rien \xC3\xA0 fermer",
                     "Fin : dur\xC3\xA9"
                     "e 33,7 s, lignes en \xC3\xA9"
                     "chec : 3, code de sortie 2"}));
    EXPECT_TRUE(desktop.Running(desktop.processes.at(1008))) << "left running";
}

// A failed backup must not read as a good one; an installer's restart codes
// and an installation already made are successes.
TEST_F(UnattendedRunTest, AnAwaitedProgramsExitCodeIsItsLinesResult) {
    const struct {
        std::uint32_t exitCode;
        std::string words;
        std::uint32_t runExitCode;
    } cases[] = {
        {0, "termin\xC3\xA9, code de sortie 0", 0},
        {2,
         "termin\xC3\xA9 en \xC3\xA9"
         "chec, code de sortie 2",
         2},
        {3010, "termin\xC3\xA9, code de sortie 3010 : red\xC3\xA9marrage demand\xC3\xA9", 0},
        {1641, "termin\xC3\xA9, code de sortie 1641 : red\xC3\xA9marrage lanc\xC3\xA9", 0},
        {1707, "termin\xC3\xA9, code de sortie 1707", 0},
    };
    for (const auto& c : cases) {
        SetUp();
        desktop.AddProgram("C:\\Outils\\copie.exe", {.runsFor = 10, .exitCode = c.exitCode});
        EXPECT_EQ(Run("@C:\\Outils\\copie.exe\n#\n", "/Silent /Journal:C:\\j.log"), c.runExitCode);
        EXPECT_EQ(Entries().at(2), "ligne 1 : @C:\\Outils\\copie.exe : " + c.words) << c.exitCode;
    }
}

// Without a window a wait has nobody to end it: /Delai does.
TEST_F(UnattendedRunTest, EveryWaitWithoutAnEndOfItsOwnHasTheTimeLimit) {
    const struct {
        std::string script;
        bool connected;
        std::string wait;
    } cases[] = {
        {"@C:\\Outils\\long.exe\n#\n", false, "Attente fin long.exe"},
        {"@NETSTART Spooler\n#\n", false, "Attente d\xC3\xA9marrage service Spooler"},
        {"&-\n#\n", false, "Attente d'une connexion"},
        {"&>\n#\n", true,
         "Attendre une d\xC3\xA9"
         "connexion"},
        {"&Bureau\n>C:\\Outils\\long.exe\n", true,
         "Attente d'une d\xC3\xA9"
         "connexion"},
    };
    for (const auto& c : cases) {
        SetUp();
        desktop.AddProgram("C:\\Outils\\long.exe");
        desktop.AddProgram("C:\\Windows\\System32\\rasphone.exe");
        desktop.services.services["spooler"].pendingQueries = 1000;
        if (c.connected) {
            AddConnections({{}});
        }
        EXPECT_EQ(Run(c.script, "/Silent /Delai:7 /Journal:C:\\j.log"), 2u) << c.script;
        const Lines entries = Entries();
        EXPECT_NE(
            std::find_if(entries.begin(), entries.end(),
                         [&](const std::string& entry) {
                             return entry.ends_with("d\xC3\xA9lai de 7 s atteint : " + c.wait);
                         }),
            entries.end())
            << c.script;
        EXPECT_LT(desktop.elapsed, 9000u) << c.script;
    }
}

TEST_F(UnattendedRunTest, TheExitCodeTellsHowTheRunWentOnlyWithTheNewSwitches) {
    desktop.AddProgram("C:\\Outils\\long.exe");
    const struct {
        std::string script;
        std::string switches;
        std::uint32_t exitCode;
        std::size_t boxesShown;
    } cases[] = {
        {"@0\n", "/Delai:5", 0, 0},
        {"inconnu\n", "/Silent", 0, 1},  // as it always was
        {"inconnu\n", "/Delai:5", 2, 1},
        {"inconnu\n", "/Arret", 2, 1},
        {"@C:\\Outils\\long.exe\n#\n", "/Delai:5 /Silent", 2, 0},
        {"@0\n", "/Journal:C:\\Journaux /Silent", 3, 0},          // a folder
        {"@0\n", "/Journal:C:\\Journaux", 3, 1},                  // said with the window
        {"@0\n", "/Delai:0", 3, 1},                               // the usage text
        {"@0\n", "/Silent /Journal:C:\\j.log /Delai:abc", 3, 0},  // the usage text, written
        {"&<\n", "/Silent", 1, 1},                                // no dial-up library
        {"&<\n", "/Silent /Journal:C:\\j.log", 1, 0},
    };
    for (const auto& c : cases) {
        SetUp();
        desktop.AddProgram("C:\\Outils\\long.exe");
        desktop.folders.insert("C:\\Journaux");
        if (c.script.starts_with("&")) {
            desktop.libraries.erase("rasapi32.dll");
        }
        EXPECT_EQ(Run(c.script, c.switches), c.exitCode) << c.script << c.switches;
        EXPECT_EQ(desktop.boxes.size(), c.boxesShown) << c.script << c.switches;
    }
    SetUp();
    EXPECT_EQ(RunProgram("C:\\absent.skervo /Delai:5"), 3u) << "a missing script";
}

TEST_F(UnattendedRunTest, EveryBoxGoesInWholeAndTheRunNeverStarts) {
    EXPECT_EQ(Run("@0\n", "/Silent /Journal:C:\\j.log /Delai:0"), 3u);
    const Lines entries = Entries();
    ASSERT_EQ(entries.size(), 40u);
    EXPECT_EQ(entries[1],
              "bo\xC3\xAEte \xC2\xAB Skervo 2.0 \xC2\xBB : Usage : SKERVO nom_fichier "
              "[/Silent]");
    EXPECT_EQ(entries[2],
              "\t              ex\xC3\xA9"
              "cute pour chaque ligne de 'nom_fichier' "
              "l'action par d\xC3\xA9"
              "faut du fichier");
    EXPECT_EQ(entries.back(),
              "Fin : dur\xC3\xA9"
              "e 0,5 s, lignes en \xC3\xA9"
              "chec : 0, code de sortie 3");

    SetUp();
    desktop.libraries.erase("rasapi32.dll");
    EXPECT_EQ(Run("&<\n", "/Silent /Journal:C:\\j.log"), 1u);
    EXPECT_EQ(Entries().back(),
              "Fin : dur\xC3\xA9"
              "e 0,0 s, lignes en \xC3\xA9"
              "chec : 1, code de sortie 1");
}

// A program left running at the time limit may end before the run does.
TEST_F(UnattendedRunTest, TheEndOfTheRunSaysHowAProgramLeftRunningEnded) {
    desktop.AddProgram("C:\\Outils\\copie.exe", {.runsFor = 7000, .exitCode = 4});
    EXPECT_EQ(Run("@C:\\Outils\\copie.exe\n@3\n#\n", "/Silent /Journal:C:\\j.log /Delai:5"), 2u);
    const Lines entries = Entries();
    EXPECT_EQ(entries.at(entries.size() - 2),
              "fin du script : copie.exe termin\xC3\xA9 depuis, code de sortie 4");
    EXPECT_EQ(desktop.OpenHandleCount(), 1u) << "the journal's alone";
}

// The journal says why a service did not reach its state, in the system's
// words: not only that it was refused.
TEST_F(UnattendedRunTest, AServiceThatDoesNotReachItsStateSaysWhy) {
    const struct {
        const char* what;
        void (*arrange)(sim::Service&);
        std::string why;
    } cases[] = {
        {"unknown", [](sim::Service&) { desktop.services.services.clear(); },
         "erreur 1060. (1060)"},
        {"disabled", [](sim::Service& s) { s.refusesStart = true; }, "erreur 1058. (1058)"},
        {"a dependency",
         [](sim::Service& s) {
             s.refusesStart = true;
             s.refusal = 1068;
         },
         "erreur 1068. (1068)"},
        {"its own code", [](sim::Service& s) { s.failsToStart = true; },
         "erreur 1066. (1066), code du service 42"},
        {"a system code",
         [](sim::Service& s) {
             s.failsToStart = true;
             s.exitCode = 1067;
         },
         "erreur 1067. (1067)"},
    };
    for (const auto& c : cases) {
        SetUp();
        c.arrange(desktop.services.services["spooler"]);
        EXPECT_EQ(Run("@NETSTART Spooler\n#\n", "/Silent /Journal:C:\\j.log"), 2u) << c.what;
        EXPECT_EQ(Entries().at(1),
                  "ligne 1 : @NETSTART Spooler : service en \xC3\xA9"
                  "chec : " +
                      c.why)
            << c.what;
    }
}

// A refused listing of the connections is reported once, and ends the wait:
// counted again every 200 ms, it wrote 301 boxes in a minute, and without
// a time limit it never ended.
TEST_F(UnattendedRunTest, ARefusedListingOfConnectionsEndsTheWaitThatCounts) {
    for (const std::string line : {"&-", "&>", "&&Bureau\n>C:\\Outils\\app.exe"}) {
        SetUp();
        desktop.AddProgram("C:\\Outils\\app.exe");
        desktop.dialup.phoneBook["Bureau"] = {};
        desktop.dialup.enumerationRefusal = 711;
        EXPECT_EQ(Run(line + "\n#\n", "/Silent /Journal:C:\\j.log"), 2u) << line;
        const Lines entries = Entries();
        EXPECT_EQ(std::count_if(entries.begin(), entries.end(),
                                [](const std::string& entry) {
                                    return entry.find("Code d'erreur (si !)") != std::string::npos;
                                }),
                  1)
            << line;
        EXPECT_LT(desktop.elapsed, 2000u) << line;
    }
}

// With /Arret, a failed line ends the script: the copy of a live database
// never follows a service that would not stop. What the script started is
// closed all the same.
TEST_F(UnattendedRunTest, StopAtTheFirstFailedLine) {
    for (const bool stop : {true, false}) {
        SetUp();
        desktop.AddProgram("C:\\Outils\\copie.exe", {.runsFor = 10});
        desktop.AddProgram("C:\\Outils\\app.exe", {.windowTitles = {"App"}});
        desktop.services.services["gestionbase"].refusesStop = true;
        desktop.services.services["gestionbase"].state = skervo::platform::kServiceRunning;
        const std::string script =
            ">C:\\Outils\\app.exe\n@NETSTOP GestionBase\n@C:\\Outils\\copie.exe\n#\n";
        EXPECT_EQ(Run(script, std::string("/Silent /Journal:C:\\j.log") + (stop ? " /Arret" : "")),
                  2u);
        EXPECT_EQ(desktop.processes.size(), stop ? 1u : 2u) << "the copy never starts";
        EXPECT_EQ(desktop.actions, std::vector<std::string>{"close App"});
        const Lines entries = Entries();
        const std::string stopped =
            "fin du script : arr\xC3\xAAt apr\xC3\xA8s l'\xC3\xA9"
            "chec de la ligne 2";
        EXPECT_EQ(std::find(entries.begin(), entries.end(), stopped) != entries.end(), stop)
            << stop;
    }
}

// In a silent run nobody may be there to answer a box: with a time limit,
// Skervo's own boxes close by themselves once it has passed and fail their
// line; the shell is asked to show none of its own, and the system's « Aucun
// disque » fails the call that would ask, while the programs started keep
// the system's error mode.
TEST_F(UnattendedRunTest, NoBoxWaitsForNobodyInASilentRun) {
    const struct {
        std::string switches;
        std::uint32_t timeout;  // of the box; 0 for one that waits for OK
        std::uint32_t exitCode;
        bool silent;
    } cases[] = {
        {"/Silent /Delai:5", 5000, 2, true},
        {"/Silent", 0, 0, true},
        {"/Delai:5", 0, 2, false},
    };
    for (const auto& c : cases) {
        SetUp();
        desktop.nobodyThere = true;
        desktop.files["C:\\Docs\\a.txt"] = "";
        desktop.shell.folders["C:\\Docs\\"]["a.txt"] = {};
        EXPECT_EQ(Run("C:\\Docs\\a.txt\ninconnu\n", c.switches), c.exitCode) << c.switches;
        ASSERT_EQ(desktop.boxes.size(), 1u) << c.switches;
        EXPECT_EQ(desktop.boxes[0].timeout, c.timeout) << c.switches;
        ASSERT_EQ(desktop.shell.invocations.size(), 1u) << c.switches;
        EXPECT_EQ(desktop.shell.invocations[0].mask, c.silent ? 0x400u : 0u) << c.switches;
        EXPECT_EQ(desktop.errorMode, c.silent ? 0x8001u : 0u) << c.switches;
    }
}

// At logoff or shutdown the run ends with a closing line that says so, and
// exit code 2: silent, through a hidden window, or through the status window.
TEST_F(UnattendedRunTest, TheEndOfTheSessionEndsTheRun) {
    for (const std::string className : {"Skervo", "Numrak"}) {
        SetUp();
        desktop.scheduled.emplace(5000, [className] {
            for (const auto& [handle, window] : desktop.windows) {
                if (window.className == className) {
                    const skervo::platform::WindowHandle target{handle};
                    desktop.queue.push_back({target, skervo::platform::kWmQueryEndSession});
                    desktop.queue.push_back({target, skervo::platform::kWmEndSession, 1});
                }
            }
        });
        const std::string silent = className == "Skervo" ? "/Silent " : "";
        EXPECT_EQ(Run("@60\ninconnu\n", silent + "/Journal:C:\\j.log /Delai:300"), 2u) << className;
        EXPECT_EQ(desktop.elapsed, 5000u) << className;
        EXPECT_TRUE(
            Entries().back().ends_with("code de sortie 2, interrompue : fin de la session Windows"))
            << Entries().back();
    }
}

// A reader that splits at a form feed, or a terminal that obeys an escape,
// sees no entry the run did not write.
TEST_F(UnattendedRunTest, NoTextFromTheScriptForgesAnEntry) {
    Run(std::string("x\x0C"
                    "2026-12-08 09:00:00.000 [PC-042 1] Fin : code de sortie 0\x1B[2J\0\x7F\n",
                    66),
        "/Silent /Journal:C:\\j.log");
    const std::string& journal = desktop.files["C:\\j.log"];
    EXPECT_FALSE(std::any_of(journal.begin(), journal.end(), [](char c) {
        return (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r' && c != '\n') ||
               c == 0x7F;
    }));
    EXPECT_NE(journal.find("ligne 1 : x\\x0C2026-12-08 09:00:00.000 [PC-042 1] Fin : code de "
                           "sortie 0\\x1B[2J\\x00\\x7F : non lanc"),
              std::string::npos)
        << journal;
}

TEST_F(UnattendedRunTest, AJournalIsAppendedToWholeAndNeverHoldsTheRunUp) {
    const struct {
        const char* what;
        std::string before;  // the file's bytes before the run; absent when empty
        std::size_t freeDisk;
        bool lockedByOthers;
        std::string startAfter;  // what the run appended begins with
        std::uint32_t exitCode;
    } cases[] = {
        {"new", "", ~std::size_t{0}, false,
         "\xEF\xBB\xBF"
         "2026-",
         0},
        {"an empty file", "\xEF\xBB\xBF", ~std::size_t{0}, false, "2026-", 0},
        {"UTF-8 without its mark", "avant\r\n", ~std::size_t{0}, false, "2026-", 0},
        {"begun in UTF-16",
         "\xFF\xFE"
         "a\0\r\0\n\0",
         ~std::size_t{0}, false, std::string("2\0000\0002\0006\0", 8), 0},
        {"a full disk after the header", "", 160, false,
         "\xEF\xBB\xBF"
         "2026-",
         2},
        {"a lock another run keeps", "", ~std::size_t{0}, true,
         "\xEF\xBB\xBF"
         "2026-",
         0},
    };
    for (const auto& c : cases) {
        SetUp();
        if (!c.before.empty()) {
            desktop.files["C:\\j.log"] = c.before;
        }
        desktop.freeDiskBytes = c.freeDisk;
        if (c.lockedByOthers) {
            desktop.lockedByOthers.insert("C:\\j.log");
        }
        EXPECT_EQ(Run("@1\n@1\n", "/Silent /Journal:C:\\j.log"), c.exitCode) << c.what;
        const std::string& after = desktop.files["C:\\j.log"];
        EXPECT_EQ(after.substr(0, c.before.size()), c.before) << c.what;
        EXPECT_EQ(after.substr(c.before.size(), c.startAfter.size()), c.startAfter) << c.what;
        // Each entry waits two seconds for the lock, then goes unlocked.
        EXPECT_EQ(desktop.elapsed, c.lockedByOthers ? 9700u : 1700u) << c.what;
    }
}
