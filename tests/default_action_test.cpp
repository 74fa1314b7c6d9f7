// The shell's default action on a document named by a path.
#include "programs/default_action.h"

#include "tests/sim/sim_test.h"

using sim::desktop;
using sim::Invocation;
using sim::ShellItem;
using sim::ShellMenu;
using skervo::platform::kEFail;
using skervo::platform::kNoDefaultItem;
using skervo::platform::kSFalse;
using skervo::platform::WindowHandle;

namespace {

constexpr std::uintptr_t kOwner = 0x42;
const std::string kComputer = "Poste de travail";
const std::string kDocs = "C:\\Docs\\";

class DefaultActionTest : public SimTest {
  protected:
    static bool Run(const std::string& path) {
        return skervo::RunDefaultAction(path, WindowHandle{kOwner});
    }

    // The computer, first folder of the desktop, knows the whole path.
    static void ArrangeComputerKnowing(const std::string& path) {
        desktop.shell.desktopFolders = {kComputer, "Corbeille"};
        desktop.shell.folders[kComputer][path] = {};
    }

    static std::vector<ShellItem> InvokedItems() {
        std::vector<ShellItem> items;
        for (const Invocation& invocation : desktop.shell.invocations) {
            items.push_back(invocation.item);
        }
        return items;
    }
};

TEST_F(DefaultActionTest, TheItemIsFoundInTheFolderUpToItsLastBackslashOrColon) {
    const struct {
        std::string path, folder, name;
        std::string directory;  // where the command runs: the item's folder
    } cases[] = {
        {"C:\\Docs\\lettre.txt", "C:\\Docs\\", "lettre.txt", "C:\\Docs\\"},
        {"lettre.txt", "", "lettre.txt", ""},
        {"C:\\Docs/sous/lettre.txt", "C:\\", "Docs/sous/lettre.txt", "C:\\"},
        {"C:lettre.txt", "C:", "lettre.txt", "C:"},
        {"D:\\a:b\\c:d", "D:\\a:b\\c:", "d", "D:\\a:b\\c:"},
        {"\"C:\\Docs\\a b.txt\"", "\"C:\\Docs\\", "a b.txt\"", "C:\\Docs\\"},
        {" C:\\x.txt ", " C:\\", "x.txt ", " C:\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        desktop.shell = {};
        desktop.shell.folders[c.folder][c.name] = ShellMenu{.defaultItem = 5};
        EXPECT_TRUE(Run(c.path));
        EXPECT_EQ(desktop.shell.queries, (std::vector<sim::MenuQuery>{{0, 1, 0x7FFF, 0x1}}));
        EXPECT_EQ(desktop.shell.invocations,
                  (std::vector<Invocation>{{{c.folder, c.name}, 4, kOwner, 1, c.directory}}));
        EXPECT_EQ(desktop.shell.owners, std::vector<std::uintptr_t>(3, kOwner));
        EXPECT_EQ(desktop.OpenHandleCount(), 0u);
    }
}

TEST_F(DefaultActionTest, ANameItsFolderCannotParseIsParsedWholeByTheFirstDesktopFolder) {
    const struct {
        const char* what;
        std::string path;
        std::vector<std::string> desktopFolders;
        bool opened;
    } cases[] = {
        {"item missing from its folder", kDocs + "absent.txt", {kComputer, "Corbeille"}, true},
        {"trailing backslash", kDocs, {kComputer}, true},
        {"only the first folder is asked", kDocs + "absent.txt", {"Corbeille", kComputer}, false},
        {"desktop without folders", kDocs + "absent.txt", {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        desktop.shell = {};
        desktop.shell.folders[kDocs] = {};
        desktop.shell.folders["Corbeille"] = {};
        ArrangeComputerKnowing(c.path);
        desktop.shell.desktopFolders = c.desktopFolders;
        EXPECT_EQ(Run(c.path), c.opened);
        EXPECT_EQ(InvokedItems(), (c.opened ? std::vector<ShellItem>{{kComputer, c.path}}
                                            : std::vector<ShellItem>{}));
        const auto& owners = desktop.shell.owners;
        EXPECT_EQ(owners, std::vector<std::uintptr_t>(owners.size(), kOwner));
        EXPECT_EQ(desktop.OpenHandleCount(), 0u);
    }
}

TEST_F(DefaultActionTest, AFolderPartThatCannotBeOpenedEndsWithoutTheFallBack) {
    const std::string path = kDocs + "lettre.txt";
    const struct {
        const char* what;
        void (*arrange)();
    } cases[] = {
        {"no desktop", [] { desktop.shell.desktopAvailable = false; }},
        {"unknown folder", [] { desktop.shell.folders.erase(kDocs); }},
        {"bind refused", [] { desktop.shell.bindRefused = true; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        desktop.shell = {};
        ArrangeComputerKnowing(path);
        desktop.shell.folders[kDocs]["lettre.txt"] = {};
        c.arrange();
        EXPECT_FALSE(Run(path));
        EXPECT_TRUE(desktop.shell.invocations.empty());
        EXPECT_EQ(desktop.OpenHandleCount(), 0u);
    }
}

// Once the folder parses the name, its menu alone decides: no fall-back.
TEST_F(DefaultActionTest, TheItemsMenuDecidesWhetherAnythingOpens) {
    const std::string path = kDocs + "lettre.txt";
    const struct {
        const char* what;
        ShellMenu menu;
        bool invoked, opened;
    } cases[] = {
        {"no handler", {.handlerAnswer = kEFail}, false, false},
        {"menu refused", {.queryAnswer = kEFail}, false, false},
        {"no default (0)", {.defaultItem = 0}, false, false},
        {"no default (-1)", {.defaultItem = kNoDefaultItem}, false, false},
        {"invocation refused", {.invokeAnswer = kEFail}, true, false},
        {"any success code", {.queryAnswer = 0x7FFF, .invokeAnswer = kSFalse}, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        desktop.shell = {};
        ArrangeComputerKnowing(path);
        desktop.shell.folders[kDocs]["lettre.txt"] = c.menu;
        EXPECT_EQ(Run(path), c.opened);
        EXPECT_EQ(InvokedItems(), (c.invoked ? std::vector<ShellItem>{{kDocs, "lettre.txt"}}
                                             : std::vector<ShellItem>{}));
        EXPECT_EQ(desktop.OpenHandleCount(), 0u);
    }
}

// The system would run any program whatever its extension, and give .exe to a
// first word without one: neither may happen to a document or a folder.
TEST_F(DefaultActionTest, APlainLineOpensADocumentOrFolderAndNeverRunsOneAsAProgram) {
    // Nothing opened and nothing started: the line's error box.
    const struct {
        std::string line;
        std::string opened;   // the item in C:\Docs\ that the shell opened
        std::string started;  // the program that ran
    } cases[] = {
        {"C:\\Docs\\lettre.txt", "lettre.txt", ""},
        {"C:\\Docs\\rapport.pdf", "rapport.pdf", ""},        // a program in disguise
        {"\"C:\\Docs\\rapport.pdf\"", "rapport.pdf", ""},    // quoted as well
        {"C:\\Docs\\LISEZMOI", "LISEZMOI", ""},              // a program without extension
        {"C:\\Docs\\Rapports 2024", "Rapports 2024", ""},    // beside C:\Docs\Rapports.exe
        {"C:\\Docs\\Rapports 2024\\bilan.pdf", "", ""},      // absent: not Rapports.exe
        {"C:\\Docs\\Rapports 2024 ?", "", ""},               // a folder named with an omega
        {"C:\\Docs\\rapport.pdf::$DATA", "", ""},            // the disguised program's data
        {"C:\\Docs\\outil.exe", "", "C:\\Docs\\outil.exe"},  // a program runs
        {"C:\\Docs\\outil", "", ""},  // the system would add .exe, as to C:\Docs\Rapports
        {"C:\\Docs\\outil.exe /x", "", "C:\\Docs\\outil.exe"},
    };
    for (const auto& c : cases) {
        SetUp();
        desktop.files["C:\\Docs\\lettre.txt"] = "";
        desktop.AddProgram("C:\\Docs\\rapport.pdf");
        desktop.AddProgram("C:\\Docs\\LISEZMOI");
        desktop.AddProgram("C:\\Docs\\Rapports.exe");
        desktop.AddProgram("C:\\Docs\\outil.exe");
        desktop.folders.insert("C:\\Docs\\Rapports 2024");
        for (const char* item :
             {"lettre.txt", "rapport.pdf", "LISEZMOI", "Rapports 2024", "outil.exe"}) {
            desktop.shell.folders[kDocs][item] = {};
        }
        const bool nothing = c.opened.empty() && c.started.empty();
        EXPECT_EQ(RunSilently(c.line + "\n"),
                  nothing ? std::vector<std::string>{"Erreur : Impossible d'ex\xE9"
                                                     "cuter : " +
                                                     c.line}
                          : std::vector<std::string>{})
            << c.line;
        const std::vector<ShellItem> opened =
            c.opened.empty() ? std::vector<ShellItem>{} : std::vector<ShellItem>{{kDocs, c.opened}};
        EXPECT_EQ(InvokedItems(), opened) << c.line;
        std::vector<std::string> started;
        for (const auto& [id, process] : desktop.processes) {
            started.push_back(process.image);
        }
        const std::vector<std::string> program =
            c.started.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.started};
        EXPECT_EQ(started, program) << c.line;
        if (InvokedItems() == opened && !opened.empty()) {
            EXPECT_EQ(desktop.shell.invocations.at(0).directory, kDocs) << "its own folder";
        }
    }
    SetUp();
    EXPECT_EQ(RunSilently("C:\\Docs\\inconnu.txt\n"),
              std::vector<std::string>{"Erreur : Impossible d'ex\xE9"
                                       "cuter : C:\\Docs\\inconnu.txt"});
}

}  // namespace
