#include "programs/application_closing.h"

#include <string>

#include "common/files.h"
#include "common/run_state.h"
#include "common/text_rules.h"
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

void PostClose(platform::WindowHandle window) {
    platform::PostMessageA(window, platform::kWmClose, 0, 0);
}

// Only the main thread's windows, what the script started itself, and only
// while its process runs: once the thread has ended, the system may give its
// id to a thread of any other program. The handle the list holds keeps the
// process id from going to another process meanwhile.
void CloseMainThreadWindows(const StartedApp& app) {
    if (platform::WaitForSingleObject(app.process.Get(), 0) != platform::kWaitTimeout) {
        return;
    }
    platform::EnumThreadWindows(app.threadId, [&app](platform::WindowHandle window) {
        if (platform::GetWindowThreadProcessId(window) == app.processId) {
            PostClose(window);
        }
        return true;
    });
}

// Windows found by their title are closed, never killed.
void CloseTitledWindows(std::string_view fragment) {
    platform::EnumWindows([fragment](platform::WindowHandle window) {
        if (platform::GetWindowTextA(window, kTitleBufferSize).find(fragment) !=
            std::string::npos) {
            PostClose(window);
        }
        return true;
    });
}

}  // namespace

void CloseApplication(std::string_view rawName) {
    const std::string_view name = ClosingName(rawName);
    // An empty fragment occurs in every title: it must close nothing.
    if (name.empty()) {
        return;
    }
    const std::string_view verb = runState.NoConfirmation ? texts::kKilling : texts::kClosing;
    ShowStep(std::string(verb) + std::string(FileNameOf(name)));
    PollMessages();

    const std::string target = NormalisedPath(std::string(name));
    if (!target.empty() && FileExists(target)) {
        ForEachProcessOfFile(target, CloseProcessById);
        return;
    }
    CloseTitledWindows(name);
}

// The program's own process is never killed, whatever the path names (its
// own file, or a library it has loaded): that would end the run without its
// end. Its windows are asked to close instead, which stops the run as the
// close cross does.
void CloseProcessById(std::uint32_t processId) {
    if (runState.NoConfirmation && processId != platform::GetCurrentProcessId()) {
        const platform::OwnedHandle process(platform::OpenProcess(kKillAccess, processId));
        if (process) {
            platform::TerminateProcess(process.Get(), 0);
        }
        return;
    }
    platform::EnumWindows([processId](platform::WindowHandle window) {
        if (platform::GetWindowThreadProcessId(window) == processId) {
            PostClose(window);
        }
        return true;
    });
}

void CloseStartedApplications() {
    ShowStep(texts::kClosingStartedApps);
    PollMessages();
    for (auto app = runState.StartedApps.rbegin(); app != runState.StartedApps.rend(); ++app) {
        if (app->threadId != 0) {
            CloseMainThreadWindows(*app);
        } else {
            platform::TerminateProcess(app->process.Get(), 0);
        }
        app->process.Reset();
    }
    // The handles are gone: nothing may use these entries again.
    runState.StartedApps.clear();
}

}  // namespace skervo
