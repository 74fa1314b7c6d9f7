// The scripts of examples/, read as skervo.exe reads them: every line must do
// what it says on a real desktop, where programs need full paths.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "common/text_rules.h"
#include "programs/command_split.h"
#include "programs/launcher.h"
#include "script/count.h"
#include "script/line_recognition.h"
#include "script/script_reader.h"
#include "script/variables.h"
#include "tests/sim/sim_test.h"
#include "ui/status_window.h"

namespace {

bool IsAbsolutePath(std::string_view path) {
    const bool drive = path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
                       path.substr(1, 2) == ":\\";
    // \\server\share
    const bool network = path.starts_with("\\\\") && path.find('\\', 3) != std::string_view::npos;
    return drive || network;
}

// What keeps the program part of a command from starting, or nothing.
std::string ProgramFault(std::string_view command) {
    const skervo::CommandSplit split = skervo::SplitCommandLine(command);
    const std::string word = skervo::UpperCase(split.program);
    if (word == "NETSTART" || word == "NETSTOP") {
        return skervo::Trim(split.arguments).empty() ? "a service command names no service" : "";
    }
    if (!IsAbsolutePath(split.program)) {
        return "the program is not a full path: " + split.program;
    }
    // An unquoted path with blanks followed by arguments is cut at its first blank.
    if (skervo::FileNameOf(split.program).find('.') == std::string_view::npos) {
        return "the program has no extension (quotes missing?): " + split.program;
    }
    return "";
}

// &x, &&x, &-, &>, &>,- and &<: anything after the other forms is ignored.
bool IsConnectionForm(std::string_view line) {
    const std::string_view rest = line.substr(1);
    if (rest.starts_with('&')) {
        return !skervo::Trim(rest.substr(1)).empty();
    }
    if (rest.starts_with('>')) {
        return rest == ">" || rest == ">,-";
    }
    if (rest.starts_with('-') || rest.starts_with('<')) {
        return rest.size() == 1;
    }
    return true;  // &x: the dialog box, for entry x
}

// A closing command's name loses its quotes as the closing does.
std::string_view Unquoted(std::string_view name) {
    if (!name.ends_with('"')) {
        return name;
    }
    return skervo::Trim(name.size() >= 2 ? name.substr(1, name.size() - 2) : std::string_view{});
}

std::string LineFault(std::string_view line) {
    const skervo::RecognisedLine recognised = skervo::RecogniseLine(line);
    switch (recognised.command) {
        case skervo::LineCommand::LaunchToClose:
            return ProgramFault(recognised.argument);
        case skervo::LineCommand::Close: {
            const std::string_view name = Unquoted(recognised.argument);
            if (name.empty()) {
                return "names no application";
            }
            return name.find('\\') != std::string_view::npos && !IsAbsolutePath(name)
                       ? "the program to close is not a full path"
                       : "";
        }
        case skervo::LineCommand::PauseOrWait:
            return skervo::ParseCount(skervo::Trim(recognised.argument))
                       ? ""
                       : ProgramFault(recognised.argument);
        case skervo::LineCommand::Connection:
            return IsConnectionForm(line) ? "" : "not a connection command";
        case skervo::LineCommand::Plain:
            if (!std::isalnum(static_cast<unsigned char>(line[0])) && line[0] != '"' &&
                line[0] != '\\') {
                return "unknown command character";
            }
            return ProgramFault(line);
        case skervo::LineCommand::HideWindow:
        case skervo::LineCommand::ShowWindow:
            break;
    }
    return "";
}

// Windows-1252 as the examples ship: no byte the code page leaves undefined,
// no control character but the CR LF line ends, and not UTF-8.
std::string EncodingFault(std::string_view bytes) {
    if (!bytes.ends_with("\r\n")) {
        return "does not end with CR LF";
    }
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (std::string_view("\x81\x8D\x8F\x90\x9D").find(bytes[i]) != std::string_view::npos) {
            return "byte outside Windows-1252 at offset " + std::to_string(i);
        }
        const bool lineEnd =
            bytes.substr(i, 2) == "\r\n" || (i > 0 && bytes.substr(i - 1, 2) == "\r\n");
        if (static_cast<unsigned char>(bytes[i]) < 32 && !lineEnd) {
            return "control character or bare line end at offset " + std::to_string(i);
        }
        // UTF-8 writes every accented French letter as C3 and a byte from 80 to BF.
        if (bytes[i] == '\xC3' && i + 1 < bytes.size() &&
            (static_cast<unsigned char>(bytes[i + 1]) & 0xC0) == 0x80) {
            return "saved as UTF-8";
        }
    }
    return "";
}

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::filesystem::path> ExampleScripts() {
    std::vector<std::filesystem::path> scripts;
    for (const auto& entry : std::filesystem::directory_iterator(SKERVO_EXAMPLES_DIR)) {
        if (entry.path().extension() == ".skervo") {
            scripts.push_back(entry.path());
        }
    }
    std::sort(scripts.begin(), scripts.end());
    return scripts;
}

// Whether the line needs something that a Windows just installed lacks: a
// program, document, application, service or connection of the user's own.
bool NamesSomethingToAdapt(std::string_view line) {
    const skervo::RecognisedLine recognised = skervo::RecogniseLine(line);
    switch (recognised.command) {
        case skervo::LineCommand::HideWindow:
        case skervo::LineCommand::ShowWindow:
            return false;
        case skervo::LineCommand::PauseOrWait:
            return !skervo::ParseCount(skervo::Trim(recognised.argument));
        case skervo::LineCommand::LaunchToClose:
        case skervo::LineCommand::Close:
        case skervo::LineCommand::Connection:
        case skervo::LineCommand::Plain:
            return true;
    }
    return true;
}

// The first line of every example that must be adapted before it can do its work.
constexpr std::string_view kTemplateNotice =
    "# Mod\xE8le \xE0 adapter avant la premi\xE8re ex\xE9"
    "cution";

// An hour of the virtual clock: longer than any wait of an example that ends.
constexpr std::uint64_t kLongerThanAnyExample = 60 * 60 * 1000;

}  // namespace

class ExamplesTest : public SimTest {};

TEST_F(ExamplesTest, EveryLineOfEveryExampleDoesWhatItSays) {
    const std::vector<std::filesystem::path> scripts = ExampleScripts();
    ASSERT_FALSE(scripts.empty()) << SKERVO_EXAMPLES_DIR;

    // The lines are checked as a PC carries them out, their variables replaced.
    sim::desktop.environment = {{"PROGRAMFILES", L"C:\\Program Files"},
                                {"USERPROFILE", L"C:\\Users\\jean"}};
    for (const auto& script : scripts) {
        const std::string name = script.filename().string();
        const std::string bytes = ReadBytes(script);
        EXPECT_EQ(EncodingFault(bytes), "") << name;

        const std::string windowsPath = "C:\\Exemples\\" + name;
        sim::desktop.files[windowsPath] = bytes;
        skervo::ScriptReader reader;
        reader.Open(windowsPath);
        bool commented = false;
        bool toAdapt = false;
        for (int number = 1; !reader.AtEnd(); ++number) {
            const std::string text = reader.ReadLine();
            const std::string_view line = skervo::Trim(text);
            commented |= line.starts_with('#');
            if (!line.empty() && !line.starts_with('#')) {
                const skervo::CarriedOutLine carried(line);
                EXPECT_EQ(LineFault(carried.Text()), "")
                    << name << ", line " << number << ": " << line;
                toAdapt |= NamesSomethingToAdapt(line);
            }
        }
        EXPECT_TRUE(commented) << name << " explains none of its steps";
        EXPECT_EQ(bytes.starts_with(kTemplateNotice), toAdapt)
            << name
            << (toAdapt ? " names programs, services or connections to adapt: its first"
                          " line must say it is a model to adapt before its first run"
                        : " needs no adapting: it must not say it does");
    }
}

// Double-clicked as shipped, on a Windows that has none of the programs,
// services or connections an example names, every example must come to its
// end by itself: its boxes answered, without anyone closing its window.
TEST_F(ExamplesTest, EveryExampleEndsWhenRunAsShipped) {
    for (const auto& script : ExampleScripts()) {
        ResetRunState();
        sim::desktop = sim::Desktop{};
        sim::desktop.libraries["rasapi32.dll"] = sim::RasExports("A");
        const std::string name = script.filename().string();
        sim::desktop.files["C:\\Exemples\\" + name] = ReadBytes(script);
        sim::desktop.CloseWindowAfter(kLongerThanAnyExample, skervo::kStatusWindowClass);

        EXPECT_EQ(RunProgram("C:\\Exemples\\" + name), 0u) << name;
        EXPECT_FALSE(skervo::runState.StopRequested)
            << name << " was still running after an hour: only closing its window ended it";
        sim::FinishDials();
    }
}
