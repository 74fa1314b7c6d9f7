#include "script/line_recognition.h"

#include <gtest/gtest.h>

using skervo::LineCommand;
using skervo::RecogniseLine;

TEST(RecogniseLine, FollowsTheRecognitionOrder) {
    const struct {
        std::string line;
        LineCommand command;
        std::string argument;
        bool closing;
        bool noConfirmation;
    } cases[] = {
        {">>  C:\\a.exe ", LineCommand::LaunchToClose, "C:\\a.exe", true, true},
        {"> C:\\a.exe", LineCommand::LaunchToClose, "C:\\a.exe", true, false},
        {"<<Bloc-notes", LineCommand::Close, "Bloc-notes", true, true},
        {"< Bloc-notes", LineCommand::Close, "Bloc-notes", true, false},
        {">", LineCommand::LaunchToClose, "", true, false},
        {"<", LineCommand::Close, "", true, false},
        {"><x", LineCommand::LaunchToClose, "<x", true, false},
        {"<>x", LineCommand::Close, ">x", true, false},
        {">>>x", LineCommand::LaunchToClose, ">x", true, true},
        {"@ 5", LineCommand::PauseOrWait, " 5", false, false},
        {"@", LineCommand::PauseOrWait, "", false, false},
        {"@>x", LineCommand::PauseOrWait, ">x", false, false},
        {"-", LineCommand::HideWindow, "-", false, false},
        {"+", LineCommand::ShowWindow, "+", false, false},
        {"--", LineCommand::Plain, "--", false, false},
        {"-x", LineCommand::Plain, "-x", false, false},
        {"+x", LineCommand::Plain, "+x", false, false},
        {"&&Maison", LineCommand::Connection, "&&Maison", false, false},
        {"&>,-", LineCommand::Connection, "&>,-", false, false},
        {"C:\\a.exe /x # pas un commentaire", LineCommand::Plain,
         "C:\\a.exe /x # pas un commentaire", false, false},
        {"netstart Spooler", LineCommand::Plain, "netstart Spooler", false, false},
    };
    for (const auto& c : cases) {
        const auto recognised = RecogniseLine(c.line);
        EXPECT_EQ(recognised.command, c.command) << c.line;
        EXPECT_EQ(recognised.argument, c.argument) << c.line;
        EXPECT_EQ(recognised.closingCommand, c.closing) << c.line;
        EXPECT_EQ(recognised.noConfirmation, c.noConfirmation) << c.line;
    }
}
