// Finding the processes of an executable through either process listing.
#include "programs/process_enumeration.h"
#include "common/files.h"

#include "tests/sim/sim_test.h"

using sim::desktop;
using Ids = std::vector<std::uint32_t>;

class EnumerationTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        desktop.files["C:\\lib\\commun.dll"] = "";
        desktop.AddProgram("C:\\Program Files\\Outil\\outil.exe",
                           {.libraries = {"C:\\lib\\commun.dll"}},
                           "C:\\PROGRA~1\\OUTIL\\OUTIL.EXE");
        desktop.AddProgram("C:\\autre.exe");
    }
    // Each process comes open for the action, as the one that was matched.
    static Ids Find(const std::string& path) {
        Ids found;
        skervo::ForEachProcessOfFile(skervo::NormalisedPath(path), kProcessTerminate,
                                     [&](const skervo::MatchedProcess& process) {
                                         const sim::OpenHandle& held = desktop.handles.at(
                                             static_cast<std::uintptr_t>(process.handle));
                                         EXPECT_EQ(held.processId, process.id);
                                         EXPECT_TRUE(held.access & kProcessTerminate);
                                         found.push_back(process.id);
                                     });
        return found;
    }
    static constexpr std::uint32_t kProcessTerminate = skervo::platform::kProcessTerminate;
};

TEST_F(EnumerationTest, NormalisedPathsAreShortAndUpperCase) {
    EXPECT_EQ(skervo::NormalisedPath("c:\\program files\\outil\\Outil.exe"),
              "C:\\PROGRA~1\\OUTIL\\OUTIL.EXE");
    EXPECT_EQ(skervo::NormalisedPath("C:\\autre.exe"), "C:\\AUTRE.EXE");
    EXPECT_EQ(skervo::NormalisedPath("C:\\absent.exe"), "");
    desktop.ansiCodePage = 932;
    desktop.AddProgram("D:\\\x83g\\app.exe");  // ト: its second byte is no g
    EXPECT_EQ(skervo::NormalisedPath("D:\\\x83g\\app.exe"), "D:\\\x83g\\APP.EXE");
}

TEST_F(EnumerationTest, TheProcessStatusListingMatchesAnyOfTheFirst50Modules) {
    const std::uint32_t a = desktop.StartProcess("C:\\Program Files\\Outil\\outil.exe");
    desktop.StartProcess("C:\\autre.exe");
    const std::uint32_t b = desktop.StartProcess("C:\\Program Files\\Outil\\outil.exe");
    // A library is found only through the process-status listing, from its first use on.
    EXPECT_EQ(Find("C:\\lib\\commun.dll"), (Ids{a, b}));
    EXPECT_EQ(Find("C:\\PROGRA~1\\OUTIL\\OUTIL.EXE"), (Ids{a, b}));

    desktop.processes.at(a).refusedAccess = skervo::platform::kProcessVmRead;  // another user's
    desktop.processes.at(b).modules.insert(desktop.processes.at(b).modules.begin() + 1, 49,
                                           "x.dll");
    EXPECT_EQ(Find("C:\\lib\\commun.dll"), Ids{}) << "the 51st module is not compared";
    desktop.processes.at(b).modules.erase(desktop.processes.at(b).modules.begin() + 1);
    EXPECT_EQ(Find("C:\\lib\\commun.dll"), Ids{b}) << "the 50th module is";
    EXPECT_EQ(Find("C:\\Program Files\\Outil\\outil.exe"), Ids{b});
    desktop.processes.at(b).modules[0] = "c:\\progra~1\\outil\\outil.exe";  // the short form
    EXPECT_EQ(Find("C:\\Program Files\\Outil\\outil.exe"), Ids{b});
    desktop.processes.at(b).sessionId = 2;  // another user's desktop
    EXPECT_EQ(Find("C:\\Program Files\\Outil\\outil.exe"), Ids{});
    EXPECT_EQ(desktop.loadedLibraries.size(), 1u) << "psapi.dll is loaded once, for good";
    EXPECT_EQ(desktop.OpenHandleCount(), 0u);
}

TEST_F(EnumerationTest, AProcessWhoseModulesCannotBeListedIsFoundByItsExecutable) {
    // As a 64-bit process is, to a 32-bit program.
    const std::uint32_t id = desktop.StartProcess("C:\\Program Files\\Outil\\outil.exe");
    desktop.processes.at(id).modulesListed = false;
    EXPECT_EQ(Find("C:\\Program Files\\Outil\\outil.exe"), Ids{id});
    EXPECT_EQ(Find("C:\\lib\\commun.dll"), Ids{});
    EXPECT_EQ(desktop.OpenHandleCount(), 0u);
}

TEST_F(EnumerationTest, EveryProcessIsListedHoweverMany) {
    for (int i = 0; i < 700; ++i) {
        desktop.StartProcess("C:\\autre.exe");
    }
    const std::uint32_t last = desktop.StartProcess("C:\\Program Files\\Outil\\outil.exe");
    EXPECT_EQ(Find("C:\\Program Files\\Outil\\outil.exe"), Ids{last});
}

TEST_F(EnumerationTest, AModulePathLongerThan260CharactersStillMatches) {
    const std::string deep = "C:\\" + std::string(300, 'd') + "\\profond.exe";
    desktop.AddProgram(deep);
    const std::uint32_t id = desktop.StartProcess(deep);
    EXPECT_EQ(Find(deep), Ids{id});
}

TEST_F(EnumerationTest, WithoutTheProcessStatusListingToolHelpComparesExecutablesOnly) {
    const std::uint32_t a = desktop.StartProcess("C:\\Program Files\\Outil\\outil.exe");
    for (const bool libraryPresent : {false, true}) {
        SetUp();
        desktop.StartProcess("C:\\Program Files\\Outil\\outil.exe");
        if (libraryPresent) {
            desktop.libraries["psapi.dll"].erase("EnumProcesses");
        } else {
            desktop.libraries.erase("psapi.dll");
        }
        EXPECT_EQ(Find("C:\\PROGRA~1\\OUTIL\\OUTIL.EXE"), Ids{a});
        EXPECT_EQ(Find("C:\\lib\\commun.dll"), Ids{});
        EXPECT_EQ(desktop.OpenHandleCount(), 0u);
    }
    // The 95 family and NT 4 have no sessions: every process is in the user's.
    for (const bool sessions : {true, false}) {
        SetUp();
        desktop.libraries.erase("psapi.dll");
        if (!sessions) {
            desktop.libraries["kernel32.dll"].erase("ProcessIdToSessionId");
        }
        desktop.processes.at(desktop.StartProcess("C:\\autre.exe")).sessionId = 2;
        EXPECT_EQ(Find("C:\\autre.exe").size(), sessions ? 0u : 1u);
    }
    SetUp();
    desktop.StartProcess("C:\\Program Files\\Outil\\outil.exe");
    desktop.libraries.erase("psapi.dll");
    desktop.libraries["kernel32.dll"].erase("CreateToolhelp32Snapshot");
    EXPECT_EQ(Find("C:\\PROGRA~1\\OUTIL\\OUTIL.EXE"), Ids{}) << "no listing at all";
    // Between the listing and the opening, the id may pass to another process:
    // the one opened is asked its executable, or listed again before Vista.
    for (const bool imageName : {true, false}) {
        SetUp();
        desktop.libraries.erase("psapi.dll");
        if (!imageName) {
            desktop.libraries["kernel32.dll"].erase("QueryFullProcessImageNameA");
        }
        const std::uint32_t id = desktop.StartProcess("C:\\Program Files\\Outil\\outil.exe");
        desktop.onSnapshot = [id] {
            desktop.processes.at(id).image = "C:\\autre.exe";
            desktop.processes.at(id).modules = {"C:\\autre.exe"};
        };
        EXPECT_EQ(Find("C:\\PROGRA~1\\OUTIL\\OUTIL.EXE"), Ids{}) << imageName;
        EXPECT_EQ(desktop.OpenHandleCount(), 0u);
    }
}

// Names are cut and compared as the full comparison does, in any code page
// and locale. In code page 932, the second byte of 表 is 0x5C; in a Turkish
// locale, CompareStringA ignoring case keeps I and i apart.
TEST_F(EnumerationTest, ThePathsFileNameNeverHidesAMatchFromTheFullComparison) {
    const std::string display = "C:\\APPS\\\x95\x5C\x8E\xA6\x90\xDD\x92\xE8";
    const struct {
        std::uint32_t codePage;
        std::uint32_t locale;
        std::string path;
        std::string shortPath;
        std::string startedAs;
    } cases[] = {
        {932, 0x0411, display + "Outil.exe", display + "~1.EXE", display + "Outil.exe"},
        {1252, sim::kTurkish, "C:\\WINDOWS\\DISKPART.EXE", "", "c:\\windows\\diskpart.exe"},
    };
    for (const bool processStatusListing : {true, false}) {
        for (const auto& c : cases) {
            SetUp();
            if (!processStatusListing) {
                desktop.libraries.erase("psapi.dll");
            }
            desktop.ansiCodePage = c.codePage;
            desktop.userLocale = c.locale;
            desktop.AddProgram(c.path, {}, c.shortPath);
            const std::uint32_t id = desktop.StartProcess(c.startedAs);
            EXPECT_EQ(Find(c.path), Ids{id}) << c.path << processStatusListing;
        }
    }
}
