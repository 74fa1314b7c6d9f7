#include "programs/launcher.h"

#include <optional>

#include "common/files.h"
#include "common/run_state.h"
#include "common/system_error.h"
#include "common/text_rules.h"
#include "common/wait_limit.h"
#include "journal/journal.h"
#include "journal/journal_texts.h"
#include "platform/kernel.h"
#include "platform/user.h"
#include "programs/command_split.h"
#include "programs/program_choice.h"
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
bool RunServiceCommand(const ProgramChoice& command, bool waitForEnd) {
    const ServiceWord word = ServiceWordOf(command.written);
    if (word == ServiceWord::None) {
        return false;
    }
    ControlServiceAndWait(Trim(command.arguments),
                          word == ServiceWord::Start ? ServiceAction::Start : ServiceAction::Stop,
                          waitForEnd ? ServiceWait::UntilReached : ServiceWait::No);
    return true;
}

std::string WhyNoProgram(NoProgram why) {
    switch (why) {
        case NoProgram::None:
        case NoProgram::NotFound:
            return std::string(texts::kProgramNotFound);
        case NoProgram::NotAProgram:
            return std::string(texts::kNotAProgram);
        case NoProgram::NoFullPath:
            return std::string(texts::kNoFullPath);
    }
    return {};
}

// The started process, owned; its main thread's handle is released at once,
// since only the process is looked after.
std::optional<StartedApp> CreateProgramProcess(const ProgramChoice& command) {
    // Two blanks before the arguments, since they keep the blank they were split at.
    const std::string commandLine = "\"" + command.program + "\" " + command.arguments;
    platform::StartupRecord startup;
    startup.flags = platform::kStartfUseShowWindow;
    startup.showWindow = platform::kSwShowNa;
    platform::ProcessInformation started;
    // A silent run changed its own error mode; the program keeps the system's.
    const std::uint32_t errorMode = IsSilentRun() ? platform::kCreateDefaultErrorMode : 0;
    if (!platform::CreateProcessA(
            command.program, commandLine,
            platform::kCreateNewConsole | platform::kNormalPriorityClass | errorMode,
            std::string(FolderOf(command.program)), startup, started)) {
        return std::nullopt;
    }
    const platform::OwnedHandle thread(started.thread);
    return StartedApp{platform::OwnedHandle(started.process), started.processId, started.threadId};
}

// Windows Installer's conventions, which other installers follow: a
// restart needed or started, and an installation already made (1707), are
// successes. Any other code but 0 is the program's failure.
Happened HappenedAtExit(std::uint32_t exitCode) {
    constexpr std::uint32_t kInstallSucceeded = 1707;
    constexpr std::uint32_t kRestartNeeded = 3010;
    constexpr std::uint32_t kRestartStarted = 1641;
    switch (exitCode) {
        case 0:
        case kInstallSucceeded:
            return Happened::Ended;
        case kRestartNeeded:
            return Happened::EndedRestartNeeded;
        case kRestartStarted:
            return Happened::EndedRestartStarted;
        default:
            return Happened::EndedInFailure;
    }
}

// A program still running when the time limit is reached is left running;
// the end of the run says what became of it.
void WaitForEnd(StartedApp program, std::string_view programName) {
    ShowStep(std::string(texts::kWaitingForEnd) + std::string(programName));
    WaitLimit limit;
    while (PollMessages()) {
        const platform::KernelHandle process = program.process.Get();
        if (platform::WaitForSingleObject(process, kEndWaitSlice) != platform::kWaitTimeout) {
            std::uint32_t exitCode = 0;
            platform::GetExitCodeProcess(process, exitCode);
            Tell(HappenedAtExit(exitCode), exitCode);
            return;
        }
        if (limit.Reached()) {
            runState.ProgramsLeftRunning.push_back({std::move(program), std::string(programName)});
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

LaunchOutcome LaunchCommand(std::string_view text, LaunchMode mode) {
    if (text.empty()) {
        return {};
    }
    const ProgramChoice choice = ChooseProgram(text, FileExists);
    if (mode.dialDialog) {
        ShowStep(std::string(texts::kDialling) + runState.ConnectionName);
    } else if (RunServiceCommand(choice, mode.waitForEnd)) {
        return {.launched = true};
    } else {
        ShowStep(std::string(texts::kLaunching) + std::string(FileNameOf(choice.written)));
    }
    PollMessages();
    if (choice.program.empty()) {
        return {.whyNot = WhyNoProgram(choice.why)};
    }
    std::optional<StartedApp> started = CreateProgramProcess(choice);
    if (!started) {
        return {.whyNot = SystemErrorText(platform::GetLastError())};
    }
    Tell(Happened::Started, started->processId);
    if (mode.waitForEnd) {
        WaitForEnd(std::move(*started), FileNameOf(choice.written));
    } else {
        KeepForTheEnd(std::move(*started));
    }
    return {.launched = true};
}

bool LaunchOrReport(std::string_view text, LaunchMode mode) {
    const LaunchOutcome outcome = LaunchCommand(text, mode);
    if (outcome) {
        return true;
    }
    if (!text.empty()) {  // otherwise nothing was tried
        Tell(Happened::NotStarted, 0, outcome.whyNot);
    }
    ShowError(std::string(texts::kCannotRun) + std::string(text));
    return false;
}

LaunchOutcome TryLaunch(std::string_view text) {
    return LaunchCommand(text, {});
}

}  // namespace skervo
