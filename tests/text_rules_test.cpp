// The text rules every command shares: where trimming stops, which letters
// are upper-cased, where a path's file name begins, in single-byte and
// double-byte code pages. In code page 932, ソ is 0x83 0x5C and ト 0x83 0x67.
#include "common/text_rules.h"

#include "tests/sim/sim_test.h"

class TextRulesTest : public SimTest {};

TEST_F(TextRulesTest, TrimStopsAtCode33AndAtCodesBeyond127) {
    const struct {
        std::string text;
        std::string trimmed;
    } cases[] = {
        {" !a! ", "!a!"},
        {"\xA0"
         "caf\xE9",
         "\xA0"
         "caf\xE9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(skervo::Trim(c.text), c.trimmed) << c.text;
    }
}

TEST_F(TextRulesTest, UpperCaseMapsAToZOnlyAndNeverASecondByte) {
    const struct {
        std::string text;
        std::string upper;
        std::uint32_t codePage = 1252;
    } cases[] = {
        {"c:\\zip.exe", "C:\\ZIP.EXE"},
        {"`@[{", "`@[{"},  // either side of a-z and A-Z
        {"d:\\\x83g.exe", "D:\\\x83g.EXE", 932},
        {"d:\\\x83g.exe", "D:\\\x83G.EXE"},
    };
    for (const auto& c : cases) {
        sim::desktop.ansiCodePage = c.codePage;
        EXPECT_EQ(skervo::UpperCase(c.text), c.upper) << c.text;
    }
}

TEST_F(TextRulesTest, FileNameAndFolderSplitAtTheLastBackslashOrColonOfTheirOwn) {
    const struct {
        std::string path;
        std::string fileName;
        std::string folder;
        std::uint32_t codePage = 1252;
    } cases[] = {
        {"C:\\Outils\\app.exe", "app.exe", "C:\\Outils\\"},
        {"C:app.exe", "app.exe", "C:"},
        {"\\\\serveur\\partage\\", "", "\\\\serveur\\partage\\"},
        {"a/b.exe", "a/b.exe", ""},  // a slash is no separator
        {"app.exe", "app.exe", ""},
        {"C:\\Outils\\\x83\x5C\x83t\x83g.exe", "\x83\x5C\x83t\x83g.exe", "C:\\Outils\\", 932},
        {"C:\\\x83\\x.exe", "x.exe", "C:\\\x83\\"},  // in code page 1252
    };
    for (const auto& c : cases) {
        sim::desktop.ansiCodePage = c.codePage;
        EXPECT_EQ(skervo::FileNameOf(c.path), c.fileName) << c.path;
        EXPECT_EQ(skervo::FolderOf(c.path), c.folder) << c.path;
    }
}

// A terminal takes 0x9D, undefined in code page 1252, for the start of a
// command that swallows all that follows; a second byte is no control.
TEST_F(TextRulesTest, ControlsAreShownButNeverHalfACharacter) {
    const struct {
        std::string text;
        std::string shown;
        std::uint32_t codePage = 1252;
    } cases[] = {
        {"fin\x9D"
         "0;x\x07\xE9t\xE9",
         "fin\\x9D0;x\\x07\xE9t\xE9"},
        {"\x83\x9D\x83\n", "\x83\x9D\x83\\x0A", 932},
    };
    for (const auto& c : cases) {
        sim::desktop.ansiCodePage = c.codePage;
        EXPECT_EQ(skervo::WithControlsShown(c.text), c.shown) << c.text;
    }
}
