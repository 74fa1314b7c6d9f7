// The text rules every command shares: where trimming stops, which letters
// are upper-cased, where a path's file name begins.
#include "common/text_rules.h"

#include <gtest/gtest.h>

TEST(TextRules, TrimStopsAtCode33AndAtCodesBeyond127) {
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

TEST(TextRules, UpperCaseMapsAToZOnly) {
    const struct {
        std::string text;
        std::string upper;
    } cases[] = {
        {"c:\\zip.exe", "C:\\ZIP.EXE"}, {"`@[{", "`@[{"},  // either side of a-z and A-Z
    };
    for (const auto& c : cases) {
        EXPECT_EQ(skervo::UpperCase(c.text), c.upper) << c.text;
    }
}

TEST(TextRules, FileNameAndFolderSplitAtTheLastBackslashOrColon) {
    const struct {
        std::string path;
        std::string fileName;
        std::string folder;
    } cases[] = {
        {"C:\\Outils\\app.exe", "app.exe", "C:\\Outils\\"},
        {"C:app.exe", "app.exe", "C:"},
        {"\\\\serveur\\partage\\", "", "\\\\serveur\\partage\\"},
        {"a/b.exe", "a/b.exe", ""},  // a slash is no separator
        {"app.exe", "app.exe", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(skervo::FileNameOf(c.path), c.fileName) << c.path;
        EXPECT_EQ(skervo::FolderOf(c.path), c.folder) << c.path;
    }
}
