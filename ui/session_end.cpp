#include "ui/session_end.h"

#include "common/run_state.h"
#include "platform/kernel.h"
#include "platform/user.h"
#include "ui/unhandled_error.h"

namespace skervo {
namespace {

std::intptr_t SessionWindowProc(platform::WindowHandle window, std::uint32_t message,
                                std::uintptr_t wParam, std::intptr_t lParam) {
    if (const std::optional<std::intptr_t> answer = AnswerSessionEnd(message, wParam)) {
        return *answer;
    }
    return platform::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void CreateSessionWindow() {
    platform::WindowClass windowClass;
    windowClass.procedure = SessionWindowProc;
    windowClass.instance = platform::GetModuleHandleA("");
    windowClass.className = kSessionWindowClass;
    platform::RegisterClassA(windowClass);
    // Top-level, never shown: the system tells such windows too, and not
    // the message-only ones.
    runState.SessionWindowHandle =
        platform::CreateWindowExA(0, kSessionWindowClass, kSessionWindowClass, platform::kWsPopup,
                                  0, 0, 0, 0, platform::WindowHandle{}, windowClass.instance);
}

// The session may end; once it does, the process ends before the system
// ends it: a killed process could write nothing.
std::optional<std::intptr_t> AnswerSessionEnd(std::uint32_t message, std::uintptr_t wParam) {
    if (message == platform::kWmQueryEndSession) {
        return 1;
    }
    if (message != platform::kWmEndSession) {
        return std::nullopt;
    }
    if (wParam != 0) {
        runState.Outcome.interrupted = true;
        EndProcessNormally();
    }
    return 0;
}

}  // namespace skervo
