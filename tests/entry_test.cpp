// The choice between association, usage and run, and the end of the process.

#include <algorithm>

#include "platform/user.h"
#include "tests/sim/sim_test.h"
#include "ui/texts.h"

namespace texts = skervo::texts;
using sim::desktop;
using skervo::runState;

class EntryTest : public SimTest {
  protected:
    static bool ShowedUsage() {
        return desktop.boxes.size() == 1 && desktop.boxes[0].text == texts::kUsage &&
               desktop.boxes[0].style == skervo::platform::kMbIconInformation;
    }
    // The status window; a silent run has a hidden one of its own for the
    // end of the session.
    static bool WindowCreated() {
        return std::any_of(desktop.windows.begin(), desktop.windows.end(),
                           [](const auto& window) { return window.second.className == "Numrak"; });
    }
};

TEST_F(EntryTest, TheCommandLineChoosesBetweenUsageAndRun) {
    const struct {
        std::string parameters;
        bool usage;
        bool window;
    } cases[] = {
        {"", true, false},
        {"C:\\s.skervo", false, true},
        {"C:\\s.skervo /Silent", false, false},
        {"C:\\s.skervo -silent", false, false},
        {"/Silent C:\\s.skervo", false, false},  // runs a script named /Silent
        {"C:\\s.skervo autre", true, true},
        {"/Silent", true, false},
        {"C:\\s.skervo /Silent autre", true, false},
        {"/Register autre", true, true},
        {"/Register /Silent", false, false},
        // With /Journal or /Delai, each switch once after the script, in any order.
        {"C:\\s.skervo /Journal:C:\\j.log", false, true},
        {"C:\\s.skervo /delai:5 -SILENT /JOURNAL:C:\\j.log", false, false},
        {"C:\\s.skervo \"/Journal:C:\\Mes journaux\\j.log\" /Delai:86400", false, true},
        {"C:\\s.skervo /Journal:\"C:\\Mes journaux\\j.log\"", false, true},
        {"C:\\s.skervo /Delai:86401", true, true},
        {"C:\\s.skervo /Delai:-5", true, true},
        {"C:\\s.skervo /Delai:99999999999", true, true},
        {"C:\\s.skervo /Delai:", true, true},
        {"C:\\s.skervo /Journal:", true, true},
        {"C:\\s.skervo /Delai:5 /Delai:5", true, true},
        {"C:\\s.skervo /Silent /Delai:5 /Silent", true, false},
        {"C:\\s.skervo /Delai:5 autre", true, true},
        {"/Delai:5 C:\\s.skervo", true, true},
        {"C:\\s.skervo -ARRET", false, true},
        {"C:\\s.skervo /Arret /Silent /Arret", true, false},
    };
    for (const auto& c : cases) {
        SetUp();
        desktop.files["C:\\s.skervo"] = "inconnu\n";
        RunProgram(c.parameters);
        EXPECT_EQ(ShowedUsage(), c.usage) << c.parameters;
        if (c.parameters.find("Mes journaux") != std::string::npos) {
            EXPECT_TRUE(desktop.files.contains("C:\\Mes journaux\\j.log")) << "quotes anywhere";
        }
        EXPECT_EQ(WindowCreated(), c.window) << c.parameters;
        EXPECT_EQ(runState.UseStatusWindow, c.window) << c.parameters;
    }
}

TEST_F(EntryTest, TheUsageTextIsWindows1252JoinedByLineFeeds) {
    const std::string_view usage = texts::kUsage;
    EXPECT_EQ(usage.find('\r'), std::string_view::npos);
    EXPECT_NE(usage.back(), '\n');
    EXPECT_EQ(usage.find('\xC3'), std::string_view::npos) << "UTF-8 leaked into the text";
    EXPECT_NE(usage.find("\n              ex\xE9"
                         "cute pour chaque ligne"),
              std::string_view::npos);
    EXPECT_NE(usage.find("\n              avec ,- \xE0 la fin"), std::string_view::npos);
}

TEST_F(EntryTest, AssociationSwitchesEndTheProcessWithoutWindowOrRun) {
    const struct {
        const char* parameters;
        std::uint32_t userLocale = 0x040C;
    } cases[] = {
        {"/Register"},   {"-REGISTER"},   {"/register"},
        {"/Unregister"}, {"-unregister"}, {"/register", sim::kTurkish},  // ASCII words
    };
    for (const auto& c : cases) {
        SetUp();
        desktop.userLocale = c.userLocale;
        EXPECT_EQ(RunProgram(c.parameters), 0u) << c.parameters;
        EXPECT_FALSE(WindowCreated()) << c.parameters;
        EXPECT_EQ(desktop.boxes.size(), 1u) << "only the outcome, for " << c.parameters;
        EXPECT_EQ(desktop.elapsed, 0u) << "no final step for " << c.parameters;
    }
}

// Before anything else, as far as the system offers.
TEST_F(EntryTest, LibrariesAndProgramsAreLookedForInTheSystemFoldersFirst) {
    const struct {
        std::set<std::string> missing;
        std::vector<std::string> calls;
    } cases[] = {
        {{}, {"SetDefaultDllDirectories 2048", "SetSearchPathMode 32769"}},
        {{"SetDefaultDllDirectories"}, {"SetDllDirectoryA \"\"", "SetSearchPathMode 32769"}},
        {{"SetDefaultDllDirectories", "SetDllDirectoryA", "SetSearchPathMode"}, {}},
    };
    for (const auto& c : cases) {
        SetUp();
        for (const std::string& function : c.missing) {
            desktop.libraries["kernel32.dll"].erase(function);
        }
        RunProgram("/Register");
        EXPECT_EQ(desktop.searchRestrictions, c.calls);
    }
}

TEST_F(EntryTest, EveryRunEndsWithTheFinalStepAndHalfASecond) {
    for (const char* parameters : {"", "C:\\absent.skervo /Silent", "C:\\absent.skervo"}) {
        SetUp();
        EXPECT_EQ(RunProgram(parameters), 0u);
        EXPECT_EQ(runState.StepText, "                   Termin\xE9 !");
        EXPECT_EQ(runState.PreviousStepText, "");
        EXPECT_EQ(desktop.elapsed, 500u) << parameters;
    }
}

TEST_F(EntryTest, TearDownReleasesTheIconAndClassEvenAfterTheUserClosedTheWindow) {
    desktop.files["C:\\s.skervo"] = "@30\n#\n";
    desktop.CloseWindowAfter(1000, "Numrak");
    EXPECT_EQ(RunProgram("C:\\s.skervo"), 0u);
    EXPECT_FALSE(desktop.trayIcon.has_value());
    EXPECT_FALSE(desktop.classes.contains("Numrak"));
    EXPECT_EQ(desktop.OpenHandleCount(), 0u);
}

TEST_F(EntryTest, AMissingVersionQueryEndsTheProcessBeforeTheScript) {
    desktop.libraries["kernel32.dll"].erase("GetVersionExA");
    desktop.files["C:\\s.skervo"] = "inconnu\n";
    EXPECT_EQ(RunProgram("C:\\s.skervo"), 0u);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Erreur : GetVersionEx introuvable"});
    EXPECT_EQ(desktop.elapsed, 0u) << "no final step";
    EXPECT_TRUE(desktop.trayIcon.has_value()) << "no tear-down";
    EXPECT_TRUE(desktop.loadedLibraries.empty());
}

TEST_F(EntryTest, ThePlatformTestTellsTheNtFamily) {
    const struct {
        bool kernelPresent;
        bool querySucceeds;
        std::uint32_t platformId;
        bool isNT;
    } cases[] = {
        {true, true, 2, true},
        {true, true, 1, false},   // the Windows 95 family
        {true, false, 2, false},  // the query failed
        {false, true, 2, false},  // no kernel32 to load: the test is skipped
    };
    for (const auto& c : cases) {
        SetUp();
        if (!c.kernelPresent) {
            desktop.libraries.erase("kernel32.dll");
        }
        desktop.versionQuerySucceeds = c.querySucceeds;
        desktop.platformId = c.platformId;
        RunProgram("C:\\absent.skervo /Silent");
        EXPECT_EQ(runState.IsNT, c.isNT);
        EXPECT_TRUE(desktop.boxes.empty());
        EXPECT_TRUE(desktop.loadedLibraries.empty());
    }
}
