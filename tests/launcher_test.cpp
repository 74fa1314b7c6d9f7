// Starting programs from script lines.
#include "programs/launcher.h"
#include "programs/command_split.h"

#include "tests/sim/sim_test.h"

using sim::desktop;
using skervo::runState;
using Texts = std::vector<std::string>;

TEST(SplitCommandLine, SplitsAtTheFirstBlankOutsideTheFirstQuotes) {
    const struct {
        std::string text;
        std::string program;
        std::string arguments;
    } cases[] = {
        {"\"C:\\Program Files\\App\\app.exe\" /x", "C:\\Program Files\\App\\app.exe", " /x"},
        {"C:\\Program Files\\App\\app.exe /x", "C:\\Program", " Files\\App\\app.exe /x"},
        {"C:\\app.exe \"a b\"", "C:\\app.exe", " \"a b\""},
        {"C:\\app.exe", "C:\\app.exe", ""},
        {"a\"b c\"d e", "a\"b c\"d", " e"},
        {"\"a\" \"b\" c", "a", " \"b\" c"},
        {"\"a b c", "a b ", ""},  // unclosed: the last character is taken for the quote
        {"\"", "", ""},
        {"\"\"", "", ""},
        {"\" x", " ", ""},
    };
    for (const auto& c : cases) {
        const auto split = skervo::SplitCommandLine(c.text);
        EXPECT_EQ(split.program, c.program) << c.text;
        EXPECT_EQ(split.arguments, c.arguments) << c.text;
    }
}

class LauncherTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        desktop.AddProgram("C:\\Outils\\rapport.exe");
        desktop.AddProgram("C:\\Program Files\\App\\app.exe", {.windowTitles = {"App"}});
        desktop.AddProgram("C:\\Outils\\long.exe", {.runsFor = 2000});
    }
    static const sim::Process& OnlyProcess() {
        EXPECT_EQ(desktop.processes.size(), 1u);
        return desktop.processes.begin()->second;
    }
};

TEST_F(LauncherTest, BuildsTheCommandLineAndCurrentDirectory) {
    const struct {
        std::string line;
        std::string commandLine;
        std::string directory;
    } cases[] = {
        {"C:\\Outils\\rapport.exe /jour", "\"C:\\Outils\\rapport.exe\"  /jour", "C:\\Outils\\"},
        {"C:\\Program Files\\App\\app.exe", "\"C:\\Program Files\\App\\app.exe\" ",
         "C:\\Program Files\\App\\"},
        {"\"C:\\Program Files\\App\\app.exe\" /x \"a b\"",
         "\"C:\\Program Files\\App\\app.exe\"  /x \"a b\"", "C:\\Program Files\\App\\"},
    };
    for (const auto& c : cases) {
        SetUp();
        EXPECT_EQ(RunSilently(c.line), Texts{}) << c.line;
        const sim::Process& process = OnlyProcess();
        EXPECT_EQ(process.commandLine, c.commandLine);
        EXPECT_EQ(process.currentDirectory, c.directory);
        // A silent run's own error mode is not the program's.
        EXPECT_EQ(process.creationFlags, 0x04000030u);
        EXPECT_EQ(process.startup.flags, 1u);
        EXPECT_EQ(process.startup.showWindow, 8u);
        EXPECT_EQ(desktop.OpenHandleCount(), 0u);
    }
}

TEST_F(LauncherTest, WhatCannotStartIsReportedWithTheLineAsWritten) {
    desktop.folders.insert("C:\\Outils");
    desktop.AddProgram("C:\\Docs\\rapport.pdf");  // a program in disguise
    const Texts boxes = RunSilently(
        "C:\\Program Files\\App\\app.exe /x\n"  // unquoted with arguments: C:\Program
        "rapport.exe\n"                         // no folder: the system would look for it
        ">  C:\\absent.exe \n"
        "@C:\\absent.exe\n"
        ">C:\\Docs\\rapport.pdf\n"
        ">\n");
    const std::string cannot =
        "Erreur : Impossible d'ex\xE9"
        "cuter : ";
    EXPECT_EQ(boxes, (Texts{cannot + "C:\\Program Files\\App\\app.exe /x", cannot + "rapport.exe",
                            cannot + "C:\\absent.exe", cannot + "C:\\absent.exe",
                            cannot + "C:\\Docs\\rapport.pdf", cannot}));
    EXPECT_TRUE(desktop.processes.empty());
    EXPECT_TRUE(runState.StartedApps.empty());
}

TEST_F(LauncherTest, AtWaitsForTheEndExceptOnTheLastLine) {
    RunSilently("@C:\\Outils\\long.exe\n#\n");
    EXPECT_EQ(desktop.elapsed, 2000u + 500u);
    EXPECT_EQ(desktop.OpenHandleCount(), 0u);

    SetUp();
    RunSilently("@C:\\Outils\\long.exe");
    EXPECT_EQ(desktop.elapsed, 500u);
    EXPECT_TRUE(runState.StartedApps.empty());
    EXPECT_EQ(desktop.OpenHandleCount(), 0u);
}

TEST_F(LauncherTest, ALaunchWaitsUpTo10SecondsForTheProgramToTakeInput) {
    for (const auto& [busyFor, elapsed] :
         {std::pair<std::uint64_t, std::uint64_t>{3000, 3000}, {sim::kForever, 10000}}) {
        SetUp();
        desktop.AddProgram("C:\\Outils\\lent.exe", {.busyFor = busyFor});
        RunSilently("C:\\Outils\\lent.exe\n#\n");
        EXPECT_EQ(desktop.elapsed, elapsed + 500u) << busyFor;
    }
}

TEST_F(LauncherTest, TheWaitShowsItsStepsAndStopsWithTheWindow) {
    desktop.AddProgram("C:\\Outils\\sans_fin.exe");
    desktop.files["C:\\s.skervo"] = "@C:\\Outils\\sans_fin.exe\n#\n";
    Texts painted;
    desktop.onInvalidate = [&] { painted.push_back(runState.StepText); };
    desktop.CloseWindowAfter(1000, "Numrak");
    RunProgram("C:\\s.skervo");
    EXPECT_EQ(painted, (Texts{"Lancement sans_fin.exe", "Attente fin sans_fin.exe"}));
    EXPECT_EQ(desktop.elapsed, 1200u + 500u) << "within one 300 ms slice of the close";
    EXPECT_TRUE(desktop.Running(OnlyProcess()));
    EXPECT_EQ(desktop.OpenHandleCount(), 0u);
}

TEST_F(LauncherTest, ServiceWordsAreWholeProgramParts) {
    desktop.AddProgram("C:\\NETSTARTX.exe");
    const Texts boxes = RunSilently("netstart Inconnu\nNETSTOP\nC:\\NETSTARTX.exe\n");
    EXPECT_EQ(boxes, (Texts{"Erreur : Impossible de d\xE9marrer le service Inconnu",
                            "Erreur : Impossible d'arr\xEAter le service "}));
    EXPECT_EQ(desktop.processes.size(), 1u);
}

TEST_F(LauncherTest, ADialogLaunchNamesTheConnectionAndStartsAnyProgram) {
    desktop.AddProgram("C:\\NETSTART.exe");
    runState.ConnectionName = "Maison";
    EXPECT_TRUE(skervo::LaunchCommand("C:\\NETSTART.exe -d Maison", {.dialDialog = true}));
    EXPECT_EQ(runState.StepText, "Connexion \xE0 Maison");
    EXPECT_EQ(OnlyProcess().commandLine, "\"C:\\NETSTART.exe\"  -d Maison");
}

TEST_F(LauncherTest, ClosingLinesRememberEveryApplicationStarted) {
    desktop.AddProgram("C:\\a.exe", {.windowTitles = {"A"}});
    desktop.AddProgram("C:\\b.exe", {.windowTitles = {"B"}});
    std::string script =
        ">C:\\a.exe\n>>C:\\b.exe\n@C:\\Outils\\long.exe\nC:\\Outils\\rapport.exe\n";
    for (int i = 0; i < 60; ++i) {
        script += ">C:\\Program Files\\App\\app.exe\n";
    }
    desktop.files["C:\\s.skervo"] = script + "@1\n#\n";
    std::vector<std::uint32_t> threadIds;
    desktop.onSleep = [&] {  // during the pause, before the end of the run
        if (threadIds.empty()) {
            for (const auto& app : runState.StartedApps) {
                threadIds.push_back(app.threadId);
            }
        }
    };
    RunProgram("C:\\s.skervo /Silent");
    ASSERT_EQ(threadIds.size(), 62u) << "the plain and @ lines remember nothing";
    EXPECT_EQ(threadIds[0], desktop.processes.begin()->second.mainThreadId);
    EXPECT_EQ(threadIds[1], 0u);
    EXPECT_EQ(desktop.actions.size(), 62u) << "all closed at the end";
    EXPECT_EQ(desktop.actions.back(), "close A");
    EXPECT_EQ(desktop.actions[desktop.actions.size() - 2], "kill C:\\b.exe");
    EXPECT_EQ(desktop.OpenHandleCount(), 0u);
}
