// The launcher's splitting and the command line it builds: the program and
// its arguments never come to more than the text, the command line quotes the
// program and adds nothing else, and no process handle is left open.
#include <cstdint>
#include <string>
#include <string_view>

#include "common/run_state.h"
#include "common/text_rules.h"
#include "fuzz/fuzz_check.h"
#include "programs/application_closing.h"
#include "programs/command_split.h"
#include "programs/launcher.h"

namespace {

void CheckSplit(std::string_view text) {
    const skervo::CommandSplit split = skervo::SplitCommandLine(text);
    const std::string& program = split.program;
    const std::string& arguments = split.arguments;
    Check(program.size() + arguments.size() <= text.size(), "the split adds nothing");
    Check(text.ends_with(arguments), "the arguments end the text");
    Check(arguments.empty() || arguments[0] == ' ', "the arguments keep the blank split at");
    if (text.starts_with('"')) {
        // At most the two quotes around the program are dropped.
        Check(text.substr(1).starts_with(program), "a quoted program follows its quote");
        Check(program.size() + arguments.size() + 2 >= text.size(), "only the quotes go");
    } else {
        Check(program + arguments == text, "an unquoted program is the text up to the split");
    }
}

// Every process the launch created: the program in quotes, then the
// arguments, and the program's own folder as current directory.
void CheckStartedProcesses(std::string_view text) {
    for (const auto& [id, process] : sim::desktop.processes) {
        const std::string& commandLine = process.commandLine;
        Check(commandLine.starts_with('"'), "the program is quoted");
        Check(commandLine.size() <= text.size() + 3, "quotes and a blank are all that is added");
        Check(!process.currentDirectory.empty() &&
                  commandLine.substr(1).starts_with(process.currentDirectory),
              "the current directory is the program's folder");
        Check(commandLine.substr(1).starts_with(process.image + "\""),
              "the program started is the one the line names");
        Check(skervo::IsProgramPath(process.image), "only a program's extension starts");
    }
}

}  // namespace

// The first byte chooses the line's kind: >, >> or plain, and whether to wait.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    FreshDesktop();
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    CheckSplit(text);

    sim::desktop.AddProgram("C:\\Outils\\app.exe", {.windowTitles = {"App"}, .runsFor = 1000});
    sim::desktop.AddProgram("C:\\Program Files\\Mon outil\\outil.exe", {.runsFor = 1000});
    skervo::runState.ClosingCommand = data[0] & 1;
    skervo::runState.NoConfirmation = data[0] & 2;
    const bool wait = data[0] & 4;
    const bool launched = skervo::LaunchCommand(text, {.waitForEnd = wait}).launched;
    Check(sim::desktop.processes.empty() || launched, "a created process counts as launched");
    CheckStartedProcesses(text);

    skervo::CloseStartedApplications();
    Check(sim::desktop.OpenHandleCount() == 0, "no handle is left open");
    return 0;
}
