#include "programs/application_closing.h"

#include <string>

#include "common/files.h"
#include "common/run_state.h"
#include "common/text_rules.h"
#include "platform/kernel.h"
#include "platform/user.h"
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

// A name ending in a quote loses its first and last characters, then its
// blanks; "" and " " thus become empty.
std::string_view RemoveQuotes(std::string_view name) {
    if (!name.ends_with('"')) {
        return name;
    }
    return Trim(name.size() >= 2 ? name.substr(1, name.size() - 2) : std::string_view{});
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
    const std::string_view name = RemoveQuotes(rawName);
    // An empty fragment occurs in every title: it must close nothing.
    if (name.empty()) {
        return;
    }
    const std::string_view verb = runState.NoConfirmation ? texts::kKilling : texts::kClosing;
    ShowStep(std::string(verb) + std::string(FileNameOf(name)), true);
    PollMessages();

    const std::string target = NormalisedPath(std::string(name));
    if (!target.empty() && FileExists(target)) {
        ForEachProcessOfFile(target, CloseProcessById);
        return;
    }
    CloseTitledWindows(name);
}

void CloseProcessById(std::uint32_t processId) {
    if (runState.NoConfirmation) {
        const platform::KernelHandle process = platform::OpenProcess(kKillAccess, processId);
        if (!platform::IsNull(process)) {
            platform::TerminateProcess(process, 0);
            platform::CloseHandle(process);
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
    ShowStep(texts::kClosingStartedApps, true);
    PollMessages();
    for (auto app = runState.StartedApps.rbegin(); app != runState.StartedApps.rend(); ++app) {
        if (app->threadId != 0) {
            // Only the main thread's windows: what the script started itself.
            platform::EnumThreadWindows(app->threadId, [](platform::WindowHandle window) {
                PostClose(window);
                return true;
            });
        } else {
            platform::TerminateProcess(app->process, 0);
        }
        platform::CloseHandle(app->process);
    }
    // The handles are gone: nothing may use these entries again.
    runState.StartedApps.clear();
}

}  // namespace skervo
