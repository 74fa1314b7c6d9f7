// The run-time binding of the remote-access functions and the end of the
// program when it fails.
#include "dialup/ras_binding.h"

#include <regex>

#include "common/program_error.h"
#include "tests/dialup_fixture.h"
#include "ui/unhandled_error.h"

using sim::desktop;
using sim::RasExports;
using Names = std::set<std::string>;
using Texts = std::vector<std::string>;

namespace {

const Names kAbsent = {"absent"};  // marks a library that cannot be loaded

void ArrangeLibraries(const Names& rasapi32, const Names& rnaph) {
    desktop.libraries.erase("rasapi32.dll");
    if (rasapi32 != kAbsent) {
        desktop.libraries["rasapi32.dll"] = rasapi32;
    }
    if (rnaph != kAbsent) {
        desktop.libraries["rnaph.dll"] = rnaph;
    }
}

// The library and the name under which a function was found.
std::string Found(skervo::platform::ProcAddress function) {
    const auto& [library, name] = desktop.procedures.at(static_cast<std::size_t>(function) - 1);
    return desktop.loadedLibraries.at(library) + " " + name;
}

// The message of the error that the binding raised: the second line of the
// box that ended the program.
std::string BindingError(std::string_view baseName) {
    desktop.boxes.clear();
    try {
        skervo::BindRasFunction(baseName);
    } catch (const sim::ProcessExit&) {
        const std::string& text = desktop.boxes.at(0).text;
        const std::size_t start = text.find("\r\n") + 2;
        return text.substr(start, text.size() - 2 - start);
    }
    return "";
}

using DialupBindingTest = DialupTest;

}  // namespace

TEST_F(DialupBindingTest, TheFirstLookupChoosesTheLibraryForTheProcess) {
    const struct {
        Names rasapi32;
        std::string first;
        std::string later;
    } cases[] = {
        {RasExports("A"), "rasapi32.dll RasDialA", "rasapi32.dll RasHangUpA"},
        // rasapi32.dll has the later function, but the first lookup chose rnaph.dll.
        {{"RasHangUpA"}, "rnaph.dll RasDial", "rnaph.dll RasHangUp"},
    };
    for (const auto& c : cases) {
        SetUp();
        ArrangeLibraries(c.rasapi32, RasExports(""));
        EXPECT_EQ(Found(skervo::BindRasFunction("RasDial")), c.first);
        EXPECT_EQ(Found(skervo::BindRasFunction("RasHangUp")), c.later);
    }
}

TEST_F(DialupBindingTest, EachFailureOfTheBindingRaisesItsMessage) {
    const struct {
        Names rasapi32;
        Names rnaph;
        std::string message;
    } cases[] = {
        {kAbsent, RasExports(""), "Erreur en ouverture de rasapi32.dll."},
        {{"RasHangUpA"}, kAbsent, "Erreur en ouverture de rnaph.dll."},
        {{"RasHangUpA"}, {"RasHangUp"}, "Fonction RasDial introuvable !."},
    };
    for (const auto& c : cases) {
        SetUp();
        ArrangeLibraries(c.rasapi32, c.rnaph);
        // Planted beside the program, where a bare name would find them first.
        desktop.libraries["c:\\outils\\rasapi32.dll"] = RasExports("A");
        desktop.libraries["c:\\outils\\rnaph.dll"] = RasExports("");
        EXPECT_EQ(BindingError("RasDial"), c.message);
    }
}

TEST_F(DialupBindingTest, AFailedFirstLookupIsMadeAgainInFullAndABoundLibraryIsNeverLeft) {
    ArrangeLibraries({"RasHangUpA"}, {"RasHangUp"});
    BindingError("RasDial");
    EXPECT_EQ(BindingError("RasDial"), "Fonction RasDial introuvable !.");
    EXPECT_EQ(desktop.loadedLibraries.size(), 4u) << "both libraries loaded at each attempt";

    SetUp();
    ArrangeLibraries({"RasDialA"}, RasExports(""));
    skervo::BindRasFunction("RasDial");
    EXPECT_EQ(BindingError("RasHangUp"), "Fonction RasHangUp introuvable !.");
}

TEST_F(DialupBindingTest, TheLibrariesStayLoadedToTheEndOfTheProcess) {
    const struct {
        Names rasapi32;
        Names stillLoaded;
    } cases[] = {
        {RasExports("A"), {"rasapi32.dll"}},
        {{}, {"rasapi32.dll", "rnaph.dll"}},  // a dial may still be in rnaph.dll
    };
    for (const auto& c : cases) {
        SetUp();
        ArrangeLibraries(c.rasapi32, RasExports(""));
        EXPECT_EQ(RunSilently("&<"), Texts{});
        Names loaded;
        for (const auto& [handle, name] : desktop.loadedLibraries) {
            loaded.insert(name);
        }
        EXPECT_EQ(loaded, c.stillLoaded);
    }
}

TEST_F(DialupBindingTest, AMissingLibraryEndsTheProgramWithTheApplicationErrorBox) {
    ArrangeLibraries(kAbsent, kAbsent);
    desktop.files["C:\\s.skervo"] = "&-\nC:\\inconnu.exe\n";
    EXPECT_EQ(RunProgram("C:\\s.skervo"), 1u);
    ASSERT_EQ(desktop.boxes.size(), 1u) << "the run ends at the connection line";
    EXPECT_FALSE(desktop.trayIcon) << "no dead icon is left behind";
    const sim::MessageBox& box = desktop.boxes[0];
    EXPECT_EQ(box.caption, "Erreur d'application");
    EXPECT_EQ(box.style, 0x2010u) << "task-modal error box";
    EXPECT_TRUE(
        std::regex_match(box.text, std::regex("Exception ProgramError dans le module "
                                              "skervo\\.exe dans [0-9A-F]{16}\\.\r\n"
                                              "Erreur en ouverture de rasapi32\\.dll\\.\r\n")))
        << box.text;
}

TEST_F(DialupBindingTest, TheUnhandledErrorTextEndsWithOneFullStop) {
    const std::string head = "Exception ProgramError dans le module skervo.exe dans ";
    const struct {
        std::string message;
        std::string text;
    } cases[] = {
        {"Fonction X introuvable !", head + "0000000000000000.\r\nFonction X introuvable !.\r\n"},
        {"Fin.", head + "0000000000000000.\r\nFin.\r\n"},
    };
    for (const auto& c : cases) {
        SetUp();
        EXPECT_THROW(skervo::EndWithUnhandledError({c.message, nullptr}), sim::ProcessExit);
        EXPECT_EQ(BoxTexts(), Texts{c.text});
    }
}

TEST_F(DialupBindingTest, AFunctionMissingOnTheNotificationThreadEndsTheProgramToo) {
    desktop.libraries["rasapi32.dll"] = {"RasGetEntryDialParamsA", "RasDialA",
                                         "RasGetConnectStatusA"};
    desktop.dialup.phoneBook["Bureau"] = {.steps = {{}}};
    desktop.files["C:\\s.skervo"] = "&&Bureau";
    desktop.onSleep = sim::FinishDials;  // the notification comes before the run's end
    EXPECT_EQ(RunProgram("C:\\s.skervo"), 1u) << "not 0 from the run's own end";
    EXPECT_EQ(desktop.dialup.notificationExit, 1u);
    EXPECT_FALSE(desktop.trayIcon);
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_EQ(desktop.boxes[0].caption, "Erreur d'application");
    EXPECT_NE(desktop.boxes[0].text.find("\r\nFonction RasEnumConnections introuvable !.\r\n"),
              std::string::npos);
}
