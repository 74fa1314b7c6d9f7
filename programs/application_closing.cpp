#include "programs/application_closing.h"

#include <string>

#include "common/files.h"
#include "common/run_state.h"
#include "common/system_error.h"
#include "common/text_rules.h"
#include "journal/journal.h"
#include "platform/kernel.h"
#include "platform/user.h"
#include "programs/closing_name.h"
#include "programs/process_enumeration.h"
#include "ui/message_pump.h"
#include "ui/texts.h"

namespace skervo {
namespace {

constexpr int kTitleBufferSize = 255;
constexpr std::uint32_t kKillAccess = platform::kProcessTerminate | platform::kSynchronize;
// To see that the process still runs, before its id is looked for among the windows.
constexpr std::uint32_t kCloseAccess = platform::kSynchronize;

// What a closing line did, for the journal.
struct Tally {
    int windowsClosed = 0;
    int processesKilled = 0;
};

// A window of a program run as administrator refuses the request of a script
// that is not: silently, but for the journal.
void PostClose(platform::WindowHandle window, Tally& tally) {
    if (platform::PostMessageA(window, platform::kWmClose, 0, 0)) {
        ++tally.windowsClosed;
    } else {
        Tell(Happened::WindowRefused, 0, SystemErrorText(platform::GetLastError()));
    }
}

void TellTally(const Tally& tally) {
    if (tally.windowsClosed == 0 && tally.processesKilled == 0) {
        Tell(Happened::NothingToClose);
    }
    if (tally.windowsClosed > 0) {
        Tell(Happened::WindowsClosed, tally.windowsClosed);
    }
    if (tally.processesKilled > 0) {
        Tell(Happened::ProcessesKilled, tally.processesKilled);
    }
}

// Windows refuses what the script's rights do not reach: silently, but for the journal.
void TellRefused(std::uint32_t processId, std::uint32_t error) {
    Tell(Happened::ProcessRefused, processId, SystemErrorText(error));
}

void CloseProcessWindows(std::uint32_t processId, Tally& tally) {
    platform::EnumWindows([processId, &tally](platform::WindowHandle window) {
        if (platform::GetWindowThreadProcessId(window) == processId) {
            PostClose(window, tally);
        }
        return true;
    });
}

// The program's own process is never killed, whatever the path names (its
// own file, or a library it has loaded): that would end the run without its
// end. Its windows are asked to close instead, which stops the run as the
// close cross does. Any other process is ended through the handle opened
// when it was matched; one that has ended since has no windows left.
void EndMatchedProcess(const MatchedProcess& process, Tally& tally) {
    if (process.id == platform::GetCurrentProcessId()) {
        CloseProcessWindows(process.id, tally);
    } else if (platform::IsNull(process.handle)) {
        TellRefused(process.id, process.refusal);
    } else if (!runState.NoConfirmation) {
        if (platform::WaitForSingleObject(process.handle, 0) == platform::kWaitTimeout) {
            CloseProcessWindows(process.id, tally);
        }
    } else if (platform::TerminateProcess(process.handle, 0)) {
        ++tally.processesKilled;
    } else {
        TellRefused(process.id, platform::GetLastError());
    }
}

// Only the main thread's windows, what the script started itself, and only
// while its process runs: once the thread has ended, the system may give its
// id to a thread of any other program. The handle the list holds keeps the
// process id from going to another process meanwhile.
void CloseMainThreadWindows(const StartedApp& app, Tally& tally) {
    if (platform::WaitForSingleObject(app.process.Get(), 0) != platform::kWaitTimeout) {
        return;
    }
    platform::EnumThreadWindows(app.threadId, [&app, &tally](platform::WindowHandle window) {
        if (platform::GetWindowThreadProcessId(window) == app.processId) {
            PostClose(window, tally);
        }
        return true;
    });
}

// Windows found by their title are closed, never killed.
void CloseTitledWindows(std::string_view fragment, Tally& tally) {
    platform::EnumWindows([fragment, &tally](platform::WindowHandle window) {
        if (platform::GetWindowTextA(window, kTitleBufferSize).find(fragment) !=
            std::string::npos) {
            PostClose(window, tally);
        }
        return true;
    });
}

}  // namespace

void CloseApplication(std::string_view rawName) {
    const std::string_view name = ClosingName(rawName);
    // An empty fragment occurs in every title: it must close nothing.
    if (name.empty()) {
        Tell(Happened::NothingToClose);
        return;
    }
    const std::string_view verb = runState.NoConfirmation ? texts::kKilling : texts::kClosing;
    ShowStep(std::string(verb) + std::string(FileNameOf(name)));
    PollMessages();

    Tally tally;
    const std::string target = NormalisedPath(std::string(name));
    if (!target.empty() && FileExists(target)) {
        ForEachProcessOfFile(
            target, runState.NoConfirmation ? kKillAccess : kCloseAccess,
            [&tally](const MatchedProcess& process) { EndMatchedProcess(process, tally); });
    } else {
        CloseTitledWindows(name, tally);
    }
    TellTally(tally);
}

void CloseStartedApplications() {
    ShowStep(texts::kClosingStartedApps);
    PollMessages();
    Tally tally;
    for (auto app = runState.StartedApps.rbegin(); app != runState.StartedApps.rend(); ++app) {
        if (app->threadId != 0) {
            CloseMainThreadWindows(*app, tally);
        } else if (platform::TerminateProcess(app->process.Get(), 0)) {
            ++tally.processesKilled;
        }
        app->process.Reset();
    }
    TellTally(tally);
    // The handles are gone: nothing may use these entries again.
    runState.StartedApps.clear();
}

}  // namespace skervo
