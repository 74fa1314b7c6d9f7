#include "programs/launcher.h"

#include <optional>

#include "common/files.h"
#include "common/run_state.h"
#include "common/system_error.h"
#include "common/text_rules.h"
#include "common/wait_limit.h"
#include "journal/journal.h"
#include "platform/kernel.h"
#include "programs/command_split.h"
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
bool RunServiceCommand(const CommandSplit& command, bool waitForEnd) {
    const ServiceWord word = ServiceWordOf(command.program);
    if (word == ServiceWord::None) {
        return false;
    }
    ControlServiceAndWait(Trim(command.arguments),
                          word == ServiceWord::Start ? ServiceAction::Start : ServiceAction::Stop,
                          waitForEnd ? ServiceWait::UntilReached : ServiceWait::No);
    return true;
}

// The started process, owned; its main thread's handle is released at once,
// since only the process is looked after.
std::optional<StartedApp> CreateProgramProcess(const CommandSplit& command) {
    // Two blanks before the arguments, since they keep the blank they were split at.
    const std::string commandLine = "\"" + command.program + "\" " + command.arguments;
    platform::StartupRecord startup;
    startup.flags = platform::kStartfUseShowWindow;
    startup.showWindow = platform::kSwShowNa;
    platform::ProcessInformation started;
    // The folder goes as it is, also when empty.
    if (!platform::CreateProcessA(commandLine,
                                  platform::kCreateNewConsole | platform::kNormalPriorityClass,
                                  std::string(FolderOf(command.program)), startup, started)) {
        return std::nullopt;
    }
    const platform::OwnedHandle thread(started.thread);
    return StartedApp{platform::OwnedHandle(started.process), started.processId, started.threadId};
}

// A program still running when the time limit is reached is left running.
void WaitForEnd(const platform::OwnedHandle& process, std::string_view programName) {
    ShowStep(std::string(texts::kWaitingForEnd) + std::string(programName));
    WaitLimit limit;
    while (PollMessages()) {
        if (platform::WaitForSingleObject(process.Get(), kEndWaitSlice) != platform::kWaitTimeout) {
            std::uint32_t exitCode = 0;
            platform::GetExitCodeProcess(process.Get(), exitCode);
            Tell(Happened::Ended, exitCode);
            return;
        }
        if (limit.Reached()) {
            return;
        }
    }
}

// Applications started by > and >> are closed at the end of the run (those of
// >> without a question: their thread id is kept as 0); the list then owns
// the process handle.
void KeepForTheEnd(StartedApp app) {
    platform::WaitForInputIdle(app.process.Get(), kReadyForInputTimeout);
    if (runState.ClosingCommand) {
        app.threadId = runState.NoConfirmation ? 0 : app.threadId;
        runState.StartedApps.push_back(std::move(app));
    }
}

}  // namespace

bool LaunchCommand(std::string_view text, LaunchMode mode) {
    if (text.empty()) {
        return false;
    }
    const CommandSplit split = SplitCommandLine(QuotedWhenFile(text));
    if (mode.dialDialog) {
        ShowStep(std::string(texts::kDialling) + runState.ConnectionName);
    } else if (RunServiceCommand(split, mode.waitForEnd)) {
        return true;
    } else {
        ShowStep(std::string(texts::kLaunching) + std::string(FileNameOf(split.program)));
    }
    PollMessages();

    std::optional<StartedApp> started = CreateProgramProcess(split);
    if (!started) {
        return false;
    }
    Tell(Happened::Started, started->processId);
    if (mode.waitForEnd) {
        WaitForEnd(started->process, FileNameOf(split.program));
    } else {
        KeepForTheEnd(std::move(*started));
    }
    return true;
}

bool LaunchOrReport(std::string_view text, LaunchMode mode) {
    if (LaunchCommand(text, mode)) {
        return true;
    }
    if (!text.empty()) {  // otherwise nothing was tried
        Tell(Happened::NotStarted, 0, SystemErrorText(platform::GetLastError()));
    }
    ShowError(std::string(texts::kCannotRun) + std::string(text));
    return false;
}

bool TryLaunch(std::string_view text) {
    return LaunchCommand(text, {});
}

}  // namespace skervo
