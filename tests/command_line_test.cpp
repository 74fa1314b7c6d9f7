#include <gtest/gtest.h>

#include "app/command_line.h"
#include "tests/sim/sim_test.h"

using skervo::HasSwitch;
using skervo::LoadParameters;
using skervo::SplitParameters;
using Words = std::vector<std::string>;

TEST(SplitParameters, FollowsTheQuotingRules) {
    const struct {
        std::string commandLine;
        Words words;
    } cases[] = {
        {"skervo.exe a.skervo /Silent", {"skervo.exe", "a.skervo", "/Silent"}},
        {"  x \t\x01 y\r\n", {"x", "y"}},
        {"x !", {"x", "!"}},  // code 33 separates nothing
        {"x a\"b c\"d", {"x", "ab cd"}},
        {"x \"C:\\Mes scripts\\a.skervo\" /Silent", {"x", "C:\\Mes scripts\\a.skervo", "/Silent"}},
        {"x \"open to the end ", {"x", "open to the end "}},
        {"x \"\" y", {"x", "y"}},     // an empty pair where a word begins is skipped
        {"x \"\"\"\"y", {"x", "y"}},  // twice
        {"x \"\"", {"x"}},
        {"x \" \" y", {"x", " ", "y"}},  // a quoted blank is a word
        {"x y\"\"z", {"x", "yz"}},
        {"\xE9t\xE9 caf\xE9", {"\xE9t\xE9", "caf\xE9"}},
        {"", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitParameters(c.commandLine), c.words) << c.commandLine;
    }
}

class CommandLineTest : public SimTest {};

TEST_F(CommandLineTest, ParameterZeroIsTheModulePathNotTheFirstWord) {
    sim::desktop.commandLine = "skervo a.skervo";
    LoadParameters();
    EXPECT_EQ(skervo::runState.Parameters, (Words{sim::desktop.modulePath, "a.skervo"}));
    EXPECT_EQ(skervo::ParameterCount(), 1);

    sim::desktop.commandLine = "";
    LoadParameters();
    EXPECT_EQ(skervo::runState.Parameters, Words{sim::desktop.modulePath});
    EXPECT_EQ(skervo::ParameterCount(), 0);
}

TEST_F(CommandLineTest, SwitchesMatchWholeWordsInAnyCaseAndPosition) {
    const struct {
        std::string commandLine;
        bool silent;
        std::uint32_t userLocale = 0x040C;
    } cases[] = {
        {"s a.skervo /Silent", true},
        {"s a.skervo -SILENT", true},
        {"s /silent a.skervo", true},
        {"s a.skervo /Silentx", false},
        {"s a.skervo /Silen", false},
        {"s a.skervo Silent", false},
        {"s a.skervo \\Silent", false},
        {"s /Silent", true},
        {"s -silent", true},
        {"s", false},
        {"s a.skervo /silent", true, sim::kTurkish},  // the switch words are ASCII
    };
    for (const auto& c : cases) {
        sim::desktop.userLocale = c.userLocale;
        sim::desktop.commandLine = c.commandLine;
        LoadParameters();
        EXPECT_EQ(HasSwitch("SILENT"), c.silent) << c.commandLine;
    }
}

TEST_F(CommandLineTest, TheProgramWordIsNeverASwitch) {
    sim::desktop.commandLine = "/silent";
    LoadParameters();
    EXPECT_FALSE(HasSwitch("silent"));
}

// Best fit made the full-width quote U+FF02 a quote in the 8-bit command
// line, which there ends the script's path and swallows /Silent. With UTF-8
// as the ANSI code page, a lone surrogate becomes U+FFFD.
TEST_F(CommandLineTest, AnInexactEightBitCommandLineGivesWayToTheWideWords) {
    const struct {
        std::uint32_t codePage;
        std::wstring wide;
        std::string narrow;
        Words parameters;
    } cases[] = {
        {1252,
         L"skervo.exe \"C:\\a\xFF02 b.skervo\" /Silent",
         "skervo.exe \"C:\\a\" b.skervo\" /Silent",
         {"C:\\a? b.skervo", "/Silent"}},
        {65001,
         L"skervo.exe C:\\\xD800.skervo",
         "skervo.exe C:\\\xEF\xBF\xBD.skervo",
         {"C:\\\xEF\xBF\xBD.skervo"}},
    };
    for (const auto& c : cases) {
        SetUp();
        sim::desktop.ansiCodePage = c.codePage;
        sim::desktop.commandLineW = c.wide;
        sim::desktop.commandLine = c.narrow;
        LoadParameters();
        const std::vector<std::wstring> wide = SplitParameters(std::wstring_view(c.wide));
        EXPECT_EQ(skervo::runState.ScriptWidePath, wide.at(1)) << c.narrow;
        Words expected = c.parameters;
        expected.insert(expected.begin(), sim::desktop.modulePath);
        EXPECT_EQ(skervo::runState.Parameters, expected) << c.narrow;
    }
}
