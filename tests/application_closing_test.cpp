// Closing and killing applications by path or title, at once and at the end.
#include "tests/sim/sim_test.h"

using sim::desktop;
using skervo::runState;
using Actions = std::vector<std::string>;

class ClosingTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        desktop.AddProgram("C:\\Program Files\\Editeur\\editeur.exe",
                           {.windowTitles = {"Sans titre - Editeur", "Palette"}},
                           "C:\\PROGRA~1\\EDITEUR\\EDITEUR.EXE");
        desktop.AddProgram("C:\\autre.exe", {.windowTitles = {"Autre"}});
        desktop.files["C:\\notes.txt"] = "";
        first = desktop.StartProcess("C:\\Program Files\\Editeur\\editeur.exe");
        second = desktop.StartProcess("C:\\Program Files\\Editeur\\editeur.exe");
        desktop.AddProgram("C:\\long.exe", {.windowTitles = {kLongTitle}});
        desktop.StartProcess("C:\\long.exe");
        desktop.StartProcess("C:\\autre.exe");
        desktop.windows.rbegin()->second.visible = false;  // a hidden window counts too
    }
    // Titles are read up to their 254th character.
    // Appended: GCC 12 at -O2 takes a temporary + "..." for a copy out of bounds.
    const std::string kLongTitle = std::string(250, '-').append("Lointain");
    std::uint32_t first = 0;
    std::uint32_t second = 0;
};

TEST_F(ClosingTest, APathClosesEveryWindowOfEachOfItsProcesses) {
    for (const char* name :
         {"C:\\Program Files\\Editeur\\editeur.exe", "c:\\program files\\EDITEUR\\Editeur.EXE",
          "C:\\PROGRA~1\\EDITEUR\\EDITEUR.EXE", "\" C:\\Program Files\\Editeur\\editeur.exe \""}) {
        SetUp();
        RunSilently(std::string("<") + name + "\n");
        EXPECT_EQ(desktop.actions, (Actions{"close Sans titre - Editeur", "close Palette",
                                            "close Sans titre - Editeur", "close Palette"}))
            << name;
        EXPECT_EQ(runState.StepText, "                   Termin\xE9 !");
        EXPECT_EQ(desktop.OpenHandleCount(), 0u);
    }
    SetUp();
    desktop.processes.at(second).sessionId = 2;  // another user's desktop
    RunSilently("<C:\\Program Files\\Editeur\\editeur.exe\n");
    EXPECT_EQ(desktop.actions, (Actions{"close Sans titre - Editeur", "close Palette"}));
}

TEST_F(ClosingTest, APathKillsItsProcessesWithDoubleAngle) {
    RunSilently("<<C:\\PROGRA~1\\EDITEUR\\EDITEUR.EXE\n");
    EXPECT_EQ(desktop.actions, (Actions{"kill C:\\Program Files\\Editeur\\editeur.exe",
                                        "kill C:\\Program Files\\Editeur\\editeur.exe"}));
    EXPECT_FALSE(desktop.Running(desktop.processes.at(first)));
    EXPECT_FALSE(desktop.Running(desktop.processes.at(second)));
    EXPECT_EQ(desktop.OpenHandleCount(), 0u);

    // Only the matched processes of the user's session end, and a refusal is journalled.
    SetUp();
    desktop.processes.at(second).sessionId = 2;  // another user's desktop
    const std::uint32_t third = desktop.StartProcess("C:\\Program Files\\Editeur\\editeur.exe");
    desktop.processes.at(third).refusedAccess = skervo::platform::kProcessTerminate;
    // Were the first let go after its match, it could end and leave its id to another program.
    desktop.onProcessLetGo = [this](std::uint32_t id) {
        if (id == first) {
            desktop.processes.at(id) = sim::Process{};
            desktop.processes.at(id).image = "C:\\autre.exe";
        }
    };
    desktop.files["C:\\s.skervo"] = "<<C:\\Program Files\\Editeur\\editeur.exe\n";
    RunProgram("C:\\s.skervo /Silent /Journal:C:\\j.log");
    EXPECT_EQ(desktop.actions, Actions{"kill C:\\Program Files\\Editeur\\editeur.exe"});
    EXPECT_TRUE(desktop.Running(desktop.processes.at(second)));
    EXPECT_NE(desktop.files["C:\\j.log"].find("processus inaccessible : " + std::to_string(third) +
                                              " : erreur 5. (5)"),
              std::string::npos);
}

TEST_F(ClosingTest, OtherNamesAreCaseSensitiveTitleFragmentsThatAreNeverKilled) {
    const struct {
        std::string line;
        Actions actions;
    } cases[] = {
        {"<titre - Ed", {"close Sans titre - Editeur", "close Sans titre - Editeur"}},
        {"<<titre - Ed", {"close Sans titre - Editeur", "close Sans titre - Editeur"}},
        {"<TITRE", {}},
        {"<C:\\notes.txt", {}},  // an existing file that no process uses
        {"<C:\\absent\\Palette", {}},
        {"<Autre", {"close Autre"}},  // hidden windows too
        {"<Loin", {"close " + std::string(250, '-') + "Lointain"}},
        {"<Loint", {}},  // the title's 255th character is never read
        {"<\"Palette\"", {"close Palette", "close Palette"}},
        {"<\"\"", {}},  // an empty fragment would close everything
        {"<\" \"", {}},
        {"<\"", {}},
        {"<", {}},
    };
    for (const auto& c : cases) {
        SetUp();
        RunSilently(c.line + "\n");
        EXPECT_EQ(desktop.actions, c.actions) << c.line;
    }
}

TEST_F(ClosingTest, TheStepNamesTheFileAndTheWayOfEnding) {
    const struct {
        std::string line;
        std::string step;
    } cases[] = {
        {"<C:\\Program Files\\Editeur\\editeur.exe", "Fermeture editeur.exe"},
        {"<<Sans titre", "Tuer Sans titre"},
        {"<http://exemple", "Fermeture //exemple"},
        {"<\"\"", ""},
    };
    for (const auto& c : cases) {
        SetUp();
        desktop.files["C:\\s.skervo"] = c.line + "\n@0\n#\n";
        std::string step;
        desktop.onSleep = [&] {  // the pause's, not the end's
            step = step.empty() ? runState.PreviousStepText : step;
        };
        RunProgram("C:\\s.skervo /Silent");
        EXPECT_EQ(step, c.step.empty() ? "" : "(" + c.step + ")") << c.line;
    }
}

TEST_F(ClosingTest, ClosingTheStatusWindowByItsTitleStopsTheRun) {
    desktop.files["C:\\s.skervo"] = "<Numrak\ninconnu\n";
    RunProgram("C:\\s.skervo");
    EXPECT_TRUE(runState.StopRequested);
    EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(ClosingTest, StartedApplicationsCloseLastFirstAfterAStopToo) {
    desktop.AddProgram("C:\\a.exe", {.windowTitles = {"A"}});
    desktop.AddProgram("C:\\b.exe", {.windowTitles = {"B"}});
    desktop.AddProgram("C:\\c.exe", {.windowTitles = {"C1", "C2"}});
    desktop.files["C:\\s.skervo"] = ">C:\\a.exe\n>>C:\\b.exe\n>C:\\c.exe\n@30\n#\n";
    desktop.CloseWindowAfter(1000, "Numrak");
    RunProgram("C:\\s.skervo");
    EXPECT_EQ(desktop.actions, (Actions{"close C1", "close C2", "kill C:\\b.exe", "close A"}));
    EXPECT_EQ(desktop.OpenHandleCount(), 0u);
}

TEST_F(ClosingTest, AStartedApplicationThatEndedLeavesItsThreadIdToOthers) {
    desktop.AddProgram("C:\\a.exe", {.windowTitles = {"A"}, .runsFor = 1000});
    desktop.files["C:\\s.skervo"] = ">C:\\a.exe\n@3\n#\n";
    // Once A has ended, the system gives its main thread's id to another program's thread.
    desktop.scheduled.emplace(2000, [] {
        sim::Window& other = desktop.windows[desktop.nextHandle++];
        other.title = "Autre";
        other.processId = 7;
        other.threadId = std::prev(desktop.processes.end())->second.mainThreadId;
    });
    RunProgram("C:\\s.skervo /Silent");
    EXPECT_EQ(desktop.actions, Actions{});
}

TEST_F(ClosingTest, TheProgramsOwnPathStopsTheRunAndIsNeverKilled) {
    desktop.AddProgram(desktop.modulePath);
    sim::Process& self = desktop.processes[1];
    self.image = desktop.modulePath;
    self.modules = {desktop.modulePath};
    desktop.files["C:\\s.skervo"] = "<<" + desktop.modulePath + "\ninconnu\n";
    EXPECT_EQ(RunProgram("C:\\s.skervo"), 0u);
    EXPECT_EQ(desktop.actions, Actions{"close Numrak"}) << "asked to close, as by its cross";
    EXPECT_TRUE(runState.StopRequested);
    EXPECT_TRUE(desktop.boxes.empty()) << "the next line never runs";
    EXPECT_FALSE(desktop.trayIcon) << "the end of the run still follows";
}
