#include "programs/launcher.h"

#include "common/files.h"
#include "common/run_state.h"
#include "common/text_rules.h"
#include "platform/kernel.h"
#include "services/service_control.h"
#include "ui/message_pump.h"
#include "ui/notices.h"
#include "ui/texts.h"

namespace skervo {
namespace {

constexpr std::uint32_t kReadyForInputTimeout = 10000;
constexpr std::uint32_t kEndWaitSlice = 300;

// "NETSTART name" and "NETSTOP name" control a service instead; true when the
// program part was one of those words.
bool RunServiceCommand(const CommandSplit& command, bool wait) {
    const std::string word = UpperCase(command.program);
    if (word != "NETSTART" && word != "NETSTOP") {
        return false;
    }
    ControlServiceAndWait(Trim(command.arguments), wait, word == "NETSTART");
    return true;
}

bool CreateProgramProcess(const CommandSplit& command, platform::ProcessInformation& process) {
    // Two blanks before the arguments, since they keep the blank they were split at.
    const std::string commandLine = "\"" + command.program + "\" " + command.arguments;
    platform::StartupRecord startup;
    startup.flags = platform::kStartfUseShowWindow;
    startup.showWindow = platform::kSwShowNa;
    // The folder goes as it is, also when empty.
    return platform::CreateProcessA(commandLine,
                                    platform::kCreateNewConsole | platform::kNormalPriorityClass,
                                    std::string(FolderOf(command.program)), startup, process);
}

void WaitForEnd(platform::KernelHandle process, std::string_view programName) {
    ShowStep(std::string(texts::kWaitingForEnd) + std::string(programName), true);
    while (PollMessages() &&
           platform::WaitForSingleObject(process, kEndWaitSlice) == platform::kWaitTimeout) {
    }
    platform::CloseHandle(process);
}

// Applications started by > and >> are closed at the end of the run; the
// list then owns the process handle.
void KeepOrRelease(const platform::ProcessInformation& process) {
    platform::WaitForInputIdle(process.process, kReadyForInputTimeout);
    if (!runState.ClosingCommand) {
        platform::CloseHandle(process.process);
        return;
    }
    runState.StartedApps.push_back(
        {process.process, runState.NoConfirmation ? 0 : process.threadId});
}

}  // namespace

CommandSplit SplitCommandLine(std::string_view text) {
    std::size_t quotes = 0;
    std::size_t split = text.size();
    for (std::size_t i = 0; i < text.size(); ++i) {
        quotes += text[i] == '"';
        if (text[i] == ' ' && quotes != 1) {
            split = i;
            break;
        }
    }
    CommandSplit result;
    result.arguments = text.substr(split);
    if (text.starts_with('"')) {
        // Drop the opening quote and the character before the split, the closing one.
        result.program = split >= 2 ? text.substr(1, split - 2) : std::string_view{};
    } else {
        result.program = text.substr(0, split);
    }
    return result;
}

bool LaunchCommand(std::string_view text, bool wait, bool dial) {
    if (text.empty()) {
        return false;
    }
    std::string command(text);
    // A path with blanks and no arguments needs no quotes in the script.
    if (command[0] != '"' && FileExists(command)) {
        command = "\"" + command + "\"";
    }
    const CommandSplit split = SplitCommandLine(command);
    if (dial) {
        ShowStep(std::string(texts::kDialling) + runState.ConnectionName, true);
    } else if (RunServiceCommand(split, wait)) {
        return true;
    } else {
        ShowStep(std::string(texts::kLaunching) + std::string(FileNameOf(split.program)), true);
    }
    PollMessages();

    platform::ProcessInformation process;
    if (!CreateProgramProcess(split, process)) {
        return false;
    }
    platform::CloseHandle(process.thread);
    if (wait) {
        WaitForEnd(process.process, FileNameOf(split.program));
    } else {
        KeepOrRelease(process);
    }
    return true;
}

void LaunchOrReport(std::string_view text, bool wait, bool dial) {
    if (!LaunchCommand(text, wait, dial)) {
        ShowError(std::string(texts::kCannotRun) + std::string(text));
    }
}

bool TryLaunch(std::string_view text) {
    return LaunchCommand(text, false, false);
}

}  // namespace skervo
