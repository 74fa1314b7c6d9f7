// The script lines that begin with & and the end of the run.
#include "script/connection_commands.h"

#include <functional>

#include "tests/dialup_fixture.h"

using sim::desktop;
using sim::kRasCsAuthenticate;
using sim::kRasCsConnected;
using skervo::runState;
using Texts = std::vector<std::string>;

namespace {

using ConnectionCommandTest = DialupTest;
using EndOfRunTest = DialupTest;
using DialupThreadTest = DialupTest;

const std::string kSystem = "C:\\Windows\\System32\\";

void DropConnectionsAt(std::uint64_t milliseconds) {
    desktop.scheduled.emplace(milliseconds, [] {
        desktop.dialup.connections.clear();
        desktop.actions.push_back("line dropped");
    });
}

}  // namespace

TEST_F(ConnectionCommandTest, AnAutomaticDialHappensOnlyOnAChangeOfEntry) {
    const struct {
        std::string script;
        Texts dialled;
    } cases[] = {
        {"&&Bureau\n&&Bureau\n&& bureau\n&&Bureau \t\n", {"Bureau", "bureau", "Bureau"}},
        {"&&\n&&  \n", {}},
        {"&Bureau\n&&Bureau\n", {}},
        {"&&Bureau\n&Bureau\n&&Bureau\n", {"Bureau"}},
    };
    for (const auto& c : cases) {
        SetUp();
        desktop.AddProgram(kSystem + "rasphone.exe");
        desktop.dialup.phoneBook = {{"Bureau", {}}, {"bureau", {}}};
        EXPECT_EQ(RunDialling(c.script), Texts{}) << c.script;
        EXPECT_EQ(DialledEntries(), c.dialled) << c.script;
    }
}

// From the system's folders only: one planted beside the program never starts.
TEST_F(ConnectionCommandTest, ADialogLineStartsThePlatformsDialogFromTheSystemFolders) {
    const struct {
        std::uint32_t platformId;
        std::string program;
        std::string line;
        std::string commandLine;  // empty when nothing starts
        std::string connectionName;
        Texts boxes;
    } cases[] = {
        {2,
         kSystem + "rasphone.exe",
         "&  Bureau ",
         "\"C:\\Windows\\System32\\rasphone.exe\"  -d \"Bureau\"",
         "Bureau",
         {}},
        {2,
         kSystem + "rasphone.exe",
         "&VPN Agence",
         "\"C:\\Windows\\System32\\rasphone.exe\"  -d \"VPN Agence\"",
         "VPN Agence",
         {}},
        {2, kSystem + "rasphone.exe", "&", "\"C:\\Windows\\System32\\rasphone.exe\"  -d ", "", {}},
        {2,
         "C:\\Outils\\rasphone.exe",
         "&Bureau",
         "",
         "Maison",
         {"Erreur : Impossible de trouver rasphone.exe"}},
        {2,
         kSystem + "rundll32.exe",
         "&Bureau",
         "",
         "Maison",
         {"Erreur : Impossible de trouver rasphone.exe"}},
        {1,
         "C:\\Windows\\rundll32.exe",
         "&VPN Agence",
         "\"C:\\Windows\\rundll32.exe\"  rnaui.dll,RnaDial VPN Agence",
         "VPN Agence",
         {}},
        {1,
         kSystem + "rasphone.exe",
         "&Bureau",
         "",
         "Maison",
         {"Erreur : Impossible de trouver rundll32.exe"}},
        // The name would close its quotes and add a phone book of its own.
        {2,
         kSystem + "rasphone.exe",
         "&Agence\" -f \"\\\\127.0.0.1\\partage\\piege.pbk",
         "",
         "Maison",
         {"Erreur : Impossible de se connecter : Agence\" -f \"\\\\127.0.0.1\\partage\\piege.pbk"}},
        {1,
         "C:\\Windows\\rundll32.exe",
         "&Agence\x1B[2J",
         "",
         "Maison",
         {"Erreur : Impossible de se connecter : Agence\\x1B[2J"}},
    };
    for (const auto& c : cases) {
        SetUp();
        desktop.platformId = c.platformId;
        desktop.AddProgram(c.program);
        desktop.dialup.phoneBook["Maison"] = {};
        Texts painted;
        desktop.onInvalidate = [&] { painted.push_back(runState.StepText); };
        desktop.files["C:\\s.skervo"] = "&&Maison\n" + c.line;
        RunProgram("C:\\s.skervo");
        EXPECT_EQ(BoxTexts(), c.boxes) << c.line;
        EXPECT_EQ(runState.ConnectionName, c.connectionName) << c.line;
        Texts started;
        for (const auto& [id, process] : desktop.processes) {
            started.push_back(process.commandLine);
        }
        EXPECT_EQ(started, c.commandLine.empty() ? Texts{} : Texts{c.commandLine});
        if (!c.commandLine.empty()) {
            EXPECT_EQ(painted.at(1), "Connexion \xE0 " + c.connectionName) << c.line;
        }
    }
}

TEST_F(ConnectionCommandTest, EachWaitCountsAtOnceOrAfterItsFirstIntervalThenAtIt) {
    const struct {
        std::string line;
        sim::Connection connection;
        std::function<void()> later;  // at 1100 ms
        std::uint64_t elapsed;
    } cases[] = {
        {"&-", {}, nullptr, 0},
        {"&- suite",
         {.state = kRasCsAuthenticate},
         [] { desktop.dialup.connections[0].state = kRasCsConnected; },
         1200},
        {"&>", {.state = kRasCsAuthenticate}, nullptr, 500},
        {"&>suite", {}, [] { desktop.dialup.connections.clear(); }, 1500},
        {"&< suite", {}, nullptr, 0},
    };
    for (const auto& c : cases) {
        SetUp();
        AddConnections({c.connection});
        if (c.later) {
            desktop.scheduled.emplace(1100, c.later);
        }
        skervo::RunConnectionCommand(c.line);
        EXPECT_EQ(desktop.elapsed, c.elapsed) << c.line;
    }
    EXPECT_EQ(desktop.dialup.hungUp.size(), 1u) << "&< hangs up";
}

TEST_F(ConnectionCommandTest, TheWindowIsHiddenOnlyRightAfterAndOnlyWithTheIcon) {
    const struct {
        std::string script;
        bool trayIcon;
        std::vector<bool> visibleAtEachSleep;  // the last sleep shows the final step
    } cases[] = {
        {"&>,-", true, {true, false, true}},
        {"&>,-", false, {true, true, true}},
        {"&> ,-", true, {true, true, true}},
        {"-\n&>", true, {false, false, false}},
    };
    for (const auto& c : cases) {
        SetUp();
        AddConnections({{}});
        DropConnectionsAt(1000);
        desktop.trayAddSucceeds = c.trayIcon;
        std::vector<bool> visible;
        desktop.onSleep = [&] { visible.push_back(StatusWindow().visible); };
        Texts painted;
        desktop.onInvalidate = [&] { painted.push_back(runState.StepText); };
        desktop.files["C:\\s.skervo"] = c.script;
        RunProgram("C:\\s.skervo");
        EXPECT_EQ(visible, c.visibleAtEachSleep) << c.script;
        EXPECT_EQ(painted.at(0),
                  "Attendre une d\xE9"
                  "connexion");
    }
}

TEST_F(EndOfRunTest, TheStartedApplicationsAreClosedAfterTheNamedConnectionEnds) {
    constexpr std::uint64_t kNoLine = 0;
    constexpr std::uint64_t kLineStays = sim::kForever;
    const std::string app = ">C:\\App\\app.exe\n";
    const struct {
        std::string script;
        std::uint64_t dropAt;
        std::uint64_t closeWindowAt;  // 0: the user leaves it
        Texts actions;
        bool waited;
        std::uint64_t elapsed;  // the final step's 500 ms included
    } cases[] = {
        {app + "&Bureau\n", 1200, 0, {"line dropped", "close App"}, true, 1500 + 500},
        {app + "&Bureau\n", kNoLine, 0, {"close App"}, false, 500},
        {app + "&Bureau\n", kLineStays, 700, {"close App"}, true, 1000 + 500},
        {"&Bureau\n", kLineStays, 0, {}, false, 500},
        {app, kLineStays, 0, {"close App"}, false, 500},
        {app + "&\n", kLineStays, 0, {"close App"}, false, 500},
    };
    for (const auto& c : cases) {
        SetUp();
        desktop.AddProgram(kSystem + "rasphone.exe");
        desktop.AddProgram("C:\\App\\app.exe", {.windowTitles = {"App"}});
        if (c.dropAt != kNoLine) {
            AddConnections({{}});
            DropConnectionsAt(c.dropAt);
        }
        if (c.closeWindowAt != 0) {
            desktop.CloseWindowAfter(c.closeWindowAt, "Numrak");
        }
        Texts painted;
        desktop.onInvalidate = [&] { painted.push_back(runState.StepText); };
        desktop.files["C:\\s.skervo"] = c.script;
        RunProgram("C:\\s.skervo");
        EXPECT_EQ(desktop.actions, c.actions) << c.script;
        EXPECT_EQ(std::count(painted.begin(), painted.end(),
                             "Attente d'une d\xE9"
                             "connexion") == 1,
                  c.waited)
            << c.script;
        EXPECT_EQ(desktop.elapsed, c.elapsed) << c.script;
    }
}

// Run under ThreadSanitizer too: the dial's notifications count connections
// while the script's own wait does.
TEST_F(DialupThreadTest, ADialNotifiesWhileTheScriptCounts) {
    std::vector<sim::DialStep> steps(300, {kRasCsAuthenticate});
    steps.push_back({kRasCsConnected});
    desktop.dialup.phoneBook["Bureau"] = {.steps = steps};
    EXPECT_EQ(RunDialling("&&Bureau\n&-\n&<\n&>\n"), Texts{});
    EXPECT_EQ(DialledEntries(), Texts{"Bureau"});
    EXPECT_EQ(desktop.dialup.hungUp.size(), 1u);
    EXPECT_TRUE(desktop.dialup.connections.empty());
}
