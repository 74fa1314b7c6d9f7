// Installing and removing the .skervo file type under HKEY_CLASSES_ROOT.
#include "app/file_association.h"

#include "tests/sim/sim_test.h"
#include "ui/texts.h"

using sim::desktop;
namespace texts = skervo::texts;

namespace {

const std::string kCommandKey = "skervo_file\\shell\\open\\command";
const std::string kIconKey = "skervo_file\\defaulticon";
// The four keys in the order they are written.
const std::string kWritten[] = {".skervo", kCommandKey, "skervo_file", kIconKey};

// A value as the registry received it: the text and its terminating zero.
std::string Value(const std::string& text) {
    return text + '\0';
}

std::string ValueOf(const std::string& key) {
    const auto found = desktop.registry.keys.find(key);
    return found != desktop.registry.keys.end() ? found->second : "absent";
}

bool HasValue(const std::string& key) {
    const auto found = desktop.registry.keys.find(key);
    return found != desktop.registry.keys.end() && !found->second.empty();
}

}  // namespace

class FileAssociationTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        desktop.modulePath = "C:\\Mes outils\\skervo.exe";
    }
};

TEST_F(FileAssociationTest, RegistrationQuotesTheProgramAndConfirmsWithItsPath) {
    RunProgram("/Register");
    EXPECT_EQ(ValueOf(".skervo"), Value("skervo_file"));
    EXPECT_EQ(ValueOf(kCommandKey), Value("\"C:\\Mes outils\\skervo.exe\" \"%1\""));
    EXPECT_EQ(ValueOf("skervo_file"), Value("Script Skervo"));
    EXPECT_EQ(ValueOf(kIconKey), Value("\"C:\\Mes outils\\skervo.exe\",1"));
    // The shell warns before it opens a downloaded script.
    EXPECT_EQ(desktop.registry.namedValues,
              (std::map<std::string, std::pair<std::uint32_t, std::string>>{
                  {"skervo_file|EditFlags", {4, std::string("\0\0\2\0", 4)}}}));
    EXPECT_EQ(desktop.registry.accessAsked, std::set<std::uint32_t>{2}) << "KEY_SET_VALUE alone";
    EXPECT_EQ(desktop.registry.OpenCount(), 0u);
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].style, 0x40u);
    EXPECT_EQ(desktop.boxes[0].text,
              "Les fichiers .skervo sont maintenant associ\xE9s \xE0 'C:\\Mes outils\\skervo.exe'."
              "\r\nDouble-cliquez sur un fichier .skervo pour l'ex\xE9"
              "cuter.");
}

// Run as administrator, /Register makes every double-click run this program:
// only the system, administrators, the installer's account and the account
// that registers may change it, its folder or any folder above.
TEST_F(FileAssociationTest, OnlyAProgramThatTrustedAccountsAloneMayChangeIsRegistered) {
    // The trustee is a literal: GCC 12 at -O3 warns that a string nested in a
    // row of the table may be used uninitialised.
    struct Entry {
        bool allows;
        const char* trustee;
        std::uint32_t mask;
        bool inheritOnly = false;
    };
    const std::string program = "C:\\Mes outils\\skervo.exe";
    const std::string folder = "C:\\Mes outils";
    const char* const domainUsers = "S-1-5-21-7-7-7-513";
    const struct {
        const char* what;
        std::string path;  // the program's, or a folder's
        std::string owner;
        Entry entry;
        bool registered;
        std::string culprit;  // named in the box
    } cases[] = {
        {"Everyone may change the folder", folder, "", {true, "S-1-1-0", 0x1301FF}, false, folder},
        {"Users may write the program", program, "", {true, "S-1-5-32-545", 0x2}, false, program},
        {"INTERACTIVE may delete it", program, "", {true, "S-1-5-4", 0x10000}, false, program},
        {"a named user may append to it",
         program,
         "",
         {true, "S-1-5-21-7-7-7-1105", 0x4},
         false,
         program},
        {"Domain Users may delete in the folder",
         folder,
         "",
         {true, domainUsers, 0x40},
         false,
         folder},
        {"Remote Desktop Users may rewrite its rights",
         folder,
         "",
         {true, "S-1-5-32-555", 0x40000},
         false,
         folder},
        {"a generic right", program, "", {true, "S-1-5-32-545", 0x40000000}, false, program},
        {"the root lets users rename what it holds",
         "C:\\",
         "",
         {true, "S-1-5-11", 0x40},
         false,
         "C:\\"},
        {"another owner",
         folder,
         "S-1-5-21-7-7-7-1105",
         {true, "S-1-5-18", 0x1F01FF},
         false,
         folder},
        {"Authenticated Users may only read", folder, "", {true, "S-1-5-11", 0x1200A9}, true, ""},
        {"only what the folder will hold",
         folder,
         "",
         {true, "S-1-5-32-545", 0x1301FF, true},
         true,
         ""},
        // C:\ as Windows sets it: Authenticated Users may create folders there.
        {"a folder may be added beside", "C:\\", "", {true, "S-1-5-11", 0x4}, true, ""},
        {"the account that registers",
         program,
         "S-1-5-21-7-7-7-1001",
         {true, "S-1-5-21-7-7-7-1001", 0x1F01FF},
         true,
         ""},
        {"TrustedInstaller",
         folder,
         "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464",
         {true, "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464", 0x1F01FF},
         true,
         ""},
        {"CREATOR OWNER", folder, "", {true, "S-1-3-0", 0x1F01FF}, true, ""},
        {"a denial", folder, "", {false, "S-1-1-0", 0x1301FF}, true, ""},
    };
    for (const auto& c : cases) {
        SetUp();
        desktop.fileSecurity[c.path] = skervo::platform::FileSecurity{
            c.owner.empty() ? "S-1-5-32-544" : c.owner,
            {{c.entry.allows, c.entry.trustee, c.entry.mask, c.entry.inheritOnly}}};
        RunProgram("/Register");
        EXPECT_EQ(HasValue(".skervo"), c.registered) << c.what;
        ASSERT_EQ(desktop.boxes.size(), 1u) << c.what;
        if (!c.registered) {
            EXPECT_EQ(desktop.boxes[0].text,
                      "Erreur : Les fichiers .skervo n'ont pas \xE9t\xE9 associ\xE9s : d'autres "
                      "utilisateurs que les administrateurs peuvent modifier '" +
                          c.culprit +
                          "'.\r\nInstallez Skervo dans un dossier que seuls les administrateurs "
                          "peuvent modifier, comme C:\\Program Files\\Skervo, puis recommencez.")
                << c.what;
        }
    }
}

// Without security to read, nobody is kept out: nothing is written. The 95
// family keeps none for anybody, and registers as it always has.
TEST_F(FileAssociationTest, NoSecurityToReadRegistersOnlyOnThe95Family) {
    for (const std::uint32_t platform : {2u, 1u}) {
        SetUp();
        desktop.platformId = platform;
        desktop.fileSecurity["C:\\Mes outils"] = std::nullopt;
        RunProgram("/Register");
        EXPECT_EQ(HasValue(".skervo"), platform == 1) << platform;
        ASSERT_EQ(desktop.boxes.size(), 1u);
        if (platform == 2) {
            EXPECT_EQ(desktop.boxes[0].text,
                      "Erreur : Les fichiers .skervo n'ont pas \xE9t\xE9 associ\xE9s : les droits "
                      "de 'C:\\Mes outils' ne peuvent pas \xEAtre lus (un disque FAT n'en a "
                      "pas).\r\nInstallez Skervo dans un dossier que seuls les administrateurs "
                      "peuvent modifier, comme C:\\Program Files\\Skervo, puis recommencez.");
        }
    }
}

TEST_F(FileAssociationTest, RegisteringAgainWritesTheNewPath) {
    RunProgram("/Register");
    desktop.modulePath = "D:\\skervo.exe";
    RunProgram("-register");
    EXPECT_EQ(ValueOf(kIconKey), Value("\"D:\\skervo.exe\",1"));
    EXPECT_EQ(desktop.boxes.size(), 2u);
    EXPECT_EQ(desktop.boxes[1].style, 0x40u);
}

TEST_F(FileAssociationTest, RegistrationStopsAtTheFirstRefusalAndKeepsWhatItWrote) {
    const struct {
        std::string key;
        bool refusesValue;  // else the key cannot even be opened
        std::size_t written;
    } cases[] = {
        {".skervo", false, 0},
        {kCommandKey, true, 1},
        {"skervo_file", false, 2},
        {kIconKey, true, 3},
    };
    for (const auto& c : cases) {
        SetUp();
        (c.refusesValue ? desktop.registry.refusesValue : desktop.registry.refusesCreate)
            .insert(c.key);
        RunProgram("/Register");
        for (std::size_t index = 0; index < std::size(kWritten); ++index) {
            EXPECT_EQ(HasValue(kWritten[index]), index < c.written)
                << c.key << " refused, " << kWritten[index];
        }
        EXPECT_EQ(desktop.registry.OpenCount(), 0u) << c.key;
        EXPECT_EQ(
            BoxTexts(),
            std::vector<std::string>{"Erreur : Impossible d'associer les fichiers .skervo dans la "
                                     "base de registre"})
            << c.key;
    }
}

TEST_F(FileAssociationTest, UnregistrationRemovesEveryKeyOfARegistration) {
    desktop.registry.keys["txtfile"] = "";
    RunProgram("/Register");
    RunProgram("/Unregister");
    EXPECT_EQ(desktop.registry.keys, (std::map<std::string, std::string>{{"txtfile", ""}}));
    ASSERT_EQ(desktop.boxes.size(), 2u);
    EXPECT_EQ(desktop.boxes[1].text, "Les fichiers .skervo ne sont plus associ\xE9s \xE0 Skervo.");
    EXPECT_EQ(desktop.boxes[1].style, 0x40u);
}

// The box reports a key already absent; a silent run's exit code counts it
// as deleted, so that a deployment script may unregister twice.
TEST_F(FileAssociationTest, UnregistrationTriesEveryKeyWhateverFails) {
    const struct {
        std::string arrangement;
        void (*arrange)();
        std::vector<std::string> left;
        std::uint32_t silentExitCode;
    } cases[] = {
        {"nothing registered", [] {}, {}, 0},
        {"registration stopped after its first key",
         [] {
             desktop.registry.refusesCreate.insert(kCommandKey);
             RunProgram("/Register");
             desktop.registry.refusesCreate.clear();
         },
         {},
         0},
        // Its parents cannot be deleted; the keys after them still are.
        {"another verb under shell",
         [] {
             RunProgram("/Register");
             desktop.registry.keys["skervo_file\\shell\\print"] = "";
         },
         {"skervo_file", "skervo_file\\shell", "skervo_file\\shell\\print"},
         2},
    };
    for (const auto& c : cases) {
        SetUp();
        c.arrange();
        desktop.boxes.clear();
        const auto keys = desktop.registry.keys;
        EXPECT_EQ(RunProgram("/Silent /Unregister"), c.silentExitCode) << c.arrangement;
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{}) << c.arrangement;
        desktop.registry.keys = keys;
        EXPECT_EQ(RunProgram("/Unregister"), 0u) << c.arrangement;
        std::vector<std::string> left;
        for (const auto& [key, value] : desktop.registry.keys) {
            left.push_back(key);
        }
        EXPECT_EQ(left, c.left) << c.arrangement;
        EXPECT_EQ(
            BoxTexts(),
            std::vector<std::string>{"Erreur : Impossible de retirer l'association des fichiers "
                                     ".skervo de la base de registre."})
            << c.arrangement;
    }
}

// A deployment script learns from the exit code what became of /Register:
// 0 done, 1 refused for the program's folder, 2 refused by the registry.
TEST_F(FileAssociationTest, ASilentRegistrationShowsNoBoxAndTellsByItsExitCode) {
    const struct {
        std::string command;
        void (*arrange)();
        std::uint32_t exitCode;
    } cases[] = {
        {"/Register /Silent", [] {}, 0},
        {"-silent /REGISTER", [] {}, 0},
        {"/Register /Silent",
         [] {
             desktop.fileSecurity["C:\\Mes outils"] =
                 skervo::platform::FileSecurity{"S-1-5-32-544", {{true, "S-1-5-11", 0x1301BF}}};
         },
         1},
        {"/Register /Silent", [] { desktop.registry.refusesCreate.insert("skervo_file"); }, 2},
    };
    for (const auto& c : cases) {
        SetUp();
        c.arrange();
        EXPECT_EQ(RunProgram(c.command), c.exitCode) << c.command;
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{}) << c.command;
        EXPECT_EQ(HasValue(kIconKey), c.exitCode == 0) << c.command;
        EXPECT_EQ(HasValue(".skervo"), c.exitCode != 1)
            << c.command << ": written before the refusal";
    }
}
