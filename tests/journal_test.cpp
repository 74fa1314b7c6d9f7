// Unattended runs: the journal, the time limits and the exit codes.
#include <algorithm>

#include "platform/event_log.h"
#include "tests/dialup_fixture.h"

using sim::desktop;
using Lines = std::vector<std::string>;
namespace platform = skervo::platform;

namespace sim {
void PrintTo(const Event& event, std::ostream* out) {
    *out << event.source << " " << event.type << " " << event.id;
    for (const std::string& text : event.strings) {
        *out << " [" << text << "]";
    }
}
}  // namespace sim

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
    " (64 bits), poste PC-042 (pc-042.ecole.local), utilisateur ECOLE\\jean, script "
    "C:\\s.skervo";

// The beginning of a new journal, as every test's run writes it.
const std::string kNewJournal =
    "\xEF\xBB\xBF"
    "2026-12-08T09:00:00.000+01:00 [PC-042 1] D\xC3\xA9"
    "but";

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
    EXPECT_TRUE(desktop.files["C:\\j.log"].starts_with(kNewJournal));
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
                     "chec : 3, code de sortie 2, script C:\\s.skervo"}));
    EXPECT_TRUE(desktop.Running(desktop.processes.at(1008))) << "left running";
    EXPECT_EQ(desktop.events,
              (std::vector<sim::Event>{{"Skervo",
                                        platform::kEventlogWarningType,
                                        1002,
                                        {"C:\\s.skervo", "33,7", "3", "2", "C:\\j.log"}}}));
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

// With the new switches, the outcome also goes to the event log: the event's
// type, or 0 for none.
TEST_F(UnattendedRunTest, TheExitCodeTellsHowTheRunWentOnlyWithTheNewSwitches) {
    desktop.AddProgram("C:\\Outils\\long.exe");
    using platform::kEventlogErrorType, platform::kEventlogWarningType;
    const struct {
        std::string script;
        std::string switches;
        std::uint32_t exitCode;
        std::size_t boxesShown;
        std::uint16_t event;
    } cases[] = {
        {"@0\n", "/Delai:5", 0, 0, platform::kEventlogInformationType},
        {"inconnu\n", "/Silent", 0, 1, 0},  // as it always was
        {"inconnu\n", "/Delai:5", 2, 1, kEventlogWarningType},
        {"inconnu\n", "/Arret", 2, 1, kEventlogWarningType},
        {"@C:\\Outils\\long.exe\n#\n", "/Delai:5 /Silent", 2, 0, kEventlogWarningType},
        {"@0\n", "/Journal:C:\\Journaux /Silent", 3, 0, kEventlogErrorType},  // a folder
        {"@0\n", "/Journal:C:\\Journaux", 3, 1, kEventlogErrorType},  // said with the window
        {"@0\n", "/Delai:0", 3, 1, kEventlogErrorType},               // the usage text
        {"@0\n", "/Silent /Journal:C:\\j.log /Delai:abc", 3, 0, kEventlogErrorType},  // written
        {"&<\n", "/Silent", 1, 1, 0},  // no dial-up library
        {"&<\n", "/Silent /Journal:C:\\j.log", 1, 0, kEventlogErrorType},
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
        ASSERT_EQ(desktop.events.size(), c.event == 0 ? 0u : 1u) << c.script << c.switches;
        if (c.event != 0) {
            EXPECT_EQ(desktop.events[0].type, c.event) << c.script << c.switches;
            EXPECT_EQ(desktop.events[0].id, 1000 + c.exitCode) << c.script << c.switches;
            if (c.exitCode == 3) {  // the run could not start: no line failed
                EXPECT_EQ(desktop.events[0].strings[2], "0") << c.script << c.switches;
            }
        }
    }
    SetUp();
    EXPECT_EQ(RunProgram("C:\\absent.skervo /Delai:5"), 3u) << "a missing script";
    EXPECT_EQ(desktop.events,
              (std::vector<sim::Event>{{"Skervo",
                                        kEventlogErrorType,
                                        1003,
                                        {"C:\\absent.skervo", "0,5", "0", "3", "aucun"}}}));
}

TEST_F(UnattendedRunTest, EveryBoxGoesInWholeAndTheRunNeverStarts) {
    EXPECT_EQ(Run("@0\n", "/Silent /Journal:C:\\j.log /Delai:0"), 3u);
    const Lines entries = Entries();
    ASSERT_EQ(entries.size(), 41u);
    EXPECT_EQ(entries[1],
              "option incorrecte, inconnue ou donn\xC3\xA9"
              "e deux fois : /Delai:0");
    EXPECT_EQ(entries[2],
              "bo\xC3\xAEte \xC2\xAB Skervo 2.0 \xC2\xBB : Usage : SKERVO nom_fichier "
              "[/Silent]");
    EXPECT_EQ(entries[3],
              "\t              ex\xC3\xA9"
              "cute pour chaque ligne de 'nom_fichier' "
              "l'action par d\xC3\xA9"
              "faut du fichier");
    EXPECT_EQ(entries.back(),
              "Fin : dur\xC3\xA9"
              "e 0,5 s, lignes en \xC3\xA9"
              "chec : 0, code de sortie 3, script C:\\s.skervo");

    SetUp();
    desktop.libraries.erase("rasapi32.dll");
    EXPECT_EQ(Run("&<\n", "/Silent /Journal:C:\\j.log"), 1u);
    EXPECT_EQ(Entries().back(),
              "Fin : dur\xC3\xA9"
              "e 0,0 s, lignes en \xC3\xA9"
              "chec : 1, code de sortie 1, script C:\\s.skervo");
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
        EXPECT_EQ(Entries().back(),
                  "Fin : interrompue par la fin de la session Windows, dur\xC3\xA9"
                  "e 5,0 s, lignes en \xC3\xA9"
                  "chec : 0, code de sortie 2, script C:\\s.skervo");
        ASSERT_EQ(desktop.events.size(), 1u) << className;
        EXPECT_EQ(desktop.events[0].id, 1002u) << className;
    }
}

// The journal gives a line as written and, when its variables change it, as
// carried out; /Journal: names one journal per computer.
TEST_F(UnattendedRunTest, TheJournalSaysHowVariablesWereReplaced) {
    desktop.environment = {{"DOSSIER", L"C:\\Outils"},
                           {"COMPUTERNAME", L"PC-042"},
                           {"LONGUE", std::wstring(40000, L'x')}};
    desktop.AddProgram("C:\\Outils\\app.exe");
    EXPECT_EQ(Run("%DOSSIER%\\app.exe\n%LONGUE%\n", "/Silent /Journal:C:\\%COMPUTERNAME%.log"), 2u);
    const Lines entries = Entries("C:\\PC-042.log");
    EXPECT_EQ(entries.at(1), "ligne 1 : %DOSSIER%\\app.exe : soit C:\\Outils\\app.exe");
    EXPECT_EQ(entries.at(3),
              "ligne 2 : %LONGUE% : non lanc\xC3\xA9 : plus de 32 767 caract\xC3\xA8res une fois "
              "les variables remplac\xC3\xA9"
              "es");
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
        std::string before{};  // the file's bytes before the run; absent when empty
        std::size_t freeDisk = ~std::size_t{0};
        std::uint64_t diskFullAt = sim::kForever;  // ms from the start
        sim::Conversions conversions = sim::Conversions::Current;
        bool lockedByOthers = false;
        std::uint32_t lockMilliseconds = 0;
        std::string othersWriteFirst{};
        std::string startAfter = kNewJournal;  // what the run appended begins with
        std::uint32_t exitCode = 0;
        std::uint64_t elapsed = 1700;
    } cases[] = {
        {.what = "new"},
        {.what = "an empty file", .before = "\xEF\xBB\xBF", .startAfter = "2026-"},
        {.what = "UTF-8 without its mark", .before = "avant\r\n", .startAfter = "2026-"},
        {.what = "begun in UTF-16",
         .before = std::string("\xFF\xFE"
                               "a\0\r\0\n\0",
                               8),
         .startAfter = std::string("2\0000\0002\0006\0", 8)},
        {.what = "a full disk after the header", .freeDisk = 200, .exitCode = 2},
        // The closing line is lost: the exit code says so.
        {.what = "a disk full before the closing line", .diskFullAt = 1500, .exitCode = 2},
        {.what = "the first Windows 95, without UTF-8",
         .conversions = sim::Conversions::FirstWindows95},
        // The first entry waits two seconds for the lock; the others no longer wait.
        {.what = "a lock another run keeps", .lockedByOthers = true, .elapsed = 3700},
        {.what = "a lock kept on a far share, where each attempt takes 40 ms",
         .lockedByOthers = true,
         .lockMilliseconds = 40,
         .elapsed = 3860},
        // Its entry lands between the run's finding the end and its writing there.
        {.what = "a lock another run keeps while it writes",
         .before = "\xEF\xBB\xBF",
         .lockedByOthers = true,
         .othersWriteFirst = "autre\r\n",
         .startAfter = "autre\r\n2026-",
         .elapsed = 3700},
    };
    for (const auto& c : cases) {
        SetUp();
        if (!c.before.empty()) {
            desktop.files["C:\\j.log"] = c.before;
        }
        desktop.freeDiskBytes = c.freeDisk;
        desktop.scheduled.emplace(c.diskFullAt, [] { desktop.freeDiskBytes = 0; });
        desktop.conversions = c.conversions;
        if (c.lockedByOthers) {
            desktop.lockedByOthers.insert("C:\\j.log");
        }
        desktop.lockMilliseconds = c.lockMilliseconds;
        desktop.othersWriteFirst = c.othersWriteFirst;
        EXPECT_EQ(Run("@1\n@1\n", "/Silent /Journal:C:\\j.log"), c.exitCode) << c.what;
        const std::string& after = desktop.files["C:\\j.log"];
        EXPECT_EQ(after.substr(0, c.before.size()), c.before) << c.what;
        EXPECT_EQ(after.substr(c.before.size(), c.startAfter.size()), c.startAfter) << c.what;
        EXPECT_EQ(desktop.elapsed, c.elapsed) << c.what;
    }
}

// At the start of a run, a journal over 10 MB is renamed with .1 before its
// extension, in place of the one renamed before, and a new one begins.
TEST_F(UnattendedRunTest, AJournalOverTenMegabytesIsSetAsideAndANewOneBegins) {
    constexpr std::size_t kTenMegabytes = 10 * 1024 * 1024;
    const struct {
        const char* what;
        std::string path = "C:\\J\\nuit.log";
        std::string setAsideName = "C:\\J\\nuit.1.log";
        std::size_t size = kTenMegabytes + 1;
        bool lockedByOthers = false;  // another run holds it open
        bool elevated = false;
        bool moveFileEx = true;  // the 95 family has none that works
        bool setAside = true;
    } cases[] = {
        {.what = "over 10 MB"},
        {.what = "10 MB exactly", .size = kTenMegabytes, .setAside = false},
        {.what = "held by another run", .lockedByOthers = true, .setAside = false},
        {.what = "in an administrator's run", .elevated = true},
        {.what = "without MoveFileExA", .moveFileEx = false},
        {.what = "no extension, and a dot in a folder's name",
         .path = "C:\\J.x\\nuit",
         .setAsideName = "C:\\J.x\\nuit.1"},
    };
    for (const auto& c : cases) {
        SetUp();
        const std::string before(c.size, 'x');
        desktop.files[c.path] = before;
        desktop.files[c.setAsideName] = "ancien";
        if (c.lockedByOthers) {
            desktop.lockedByOthers.insert(c.path);
        }
        desktop.tokenElevated = c.elevated;
        if (!c.moveFileEx) {
            desktop.libraries["kernel32.dll"].erase("MoveFileExA");
        }
        EXPECT_EQ(Run("@0\n", "/Silent /Journal:" + c.path), 0u) << c.what;
        const std::string& journal = desktop.files[c.path];
        EXPECT_EQ(desktop.files[c.setAsideName] == before, c.setAside) << c.what;
        EXPECT_EQ(journal.starts_with("\xEF\xBB\xBF"
                                      "2026-"),
                  c.setAside)
            << c.what;
        EXPECT_EQ(journal.starts_with(before) && journal.size() > before.size(), !c.setAside)
            << c.what;
    }
}

// Every entry's time carries its offset from universal time, and the
// header names the computer and the account as fully as the system can.
TEST_F(UnattendedRunTest, EveryTimeHasItsOffsetAndTheHeaderSaysWhoRanWhere) {
    const std::string kNames =
        " [PC-042 1] D\xC3\xA9"
        "but : Skervo " SKERVO_VERSION
        " (64 bits), poste PC-042 (pc-042.ecole.local), "
        "utilisateur ECOLE\\jean,";
    const struct {
        const char* what;
        int utcOffsetMinutes;
        bool family95;  // no such conversion, no such names, no event log
        std::string start;
    } cases[] = {
        {"Paris in winter", 60, false, "2026-12-08T09:00:00.000+01:00" + kNames},
        {"Newfoundland", -210, false, "2026-12-08T04:30:00.000-03:30" + kNames},
        {"Hawaii, on the day before", -600, false, "2026-12-07T22:00:00.000-10:00" + kNames},
        {"universal time", 0, false, "2026-12-08T08:00:00.000+00:00" + kNames},
        {"the 95 family", 60, true,
         "2026-12-08T09:00:00.000+01:00 [PC-042 1] D\xC3\xA9"
         "but : Skervo " SKERVO_VERSION " (64 bits), poste PC-042, utilisateur jean,"},
    };
    for (const auto& c : cases) {
        SetUp();
        desktop.utcOffsetMinutes = c.utcOffsetMinutes;
        if (c.family95) {
            desktop.platformId = 1;
            for (const char* function : {"SystemTimeToTzSpecificLocalTime", "GetComputerNameExA"}) {
                desktop.libraries["kernel32.dll"].erase(function);
            }
            desktop.libraries.erase("secur32.dll");
            desktop.libraries["advapi32.dll"].erase("RegisterEventSourceA");
        }
        EXPECT_EQ(Run("@0\n", "/Silent /Delai:5 /Journal:C:\\j.log"), 0u) << c.what;
        EXPECT_TRUE(desktop.files["C:\\j.log"].starts_with("\xEF\xBB\xBF" + c.start))
            << c.what << "\n"
            << desktop.files["C:\\j.log"];
        EXPECT_EQ(desktop.events.size(), c.family95 ? 0u : 1u) << c.what;
    }
}
