#include "ui/message_pump.h"

#include "common/run_state.h"
#include "platform/user.h"

namespace skervo {

// A silent run answers at once, having let its hidden window hear whether
// the session ends.
bool PollMessages() {
    if (IsSilentRun()) {
        platform::Message message;
        while (
            platform::PeekMessageA(message, platform::WindowHandle{}, 0, 0, platform::kPmRemove)) {
            platform::DispatchMessageA(message);
        }
        return true;
    }
    const platform::WindowHandle window = runState.StatusWindowHandle;
    platform::Message message;
    while (platform::PeekMessageA(message, window, 0, 0, platform::kPmRemove)) {
        platform::TranslateMessage(message);
        platform::DispatchMessageA(message);
    }
    const bool windowAlive = platform::IsWindow(window);
    runState.StopRequested = !windowAlive;
    return windowAlive;
}

void ShowStep(std::string_view text, StepChange change) {
    if (text == runState.StepText) {
        return;
    }
    if (change == StepChange::NewStep && !runState.StepText.empty()) {
        runState.PreviousStepText = "(" + runState.StepText + ")";
    }
    runState.StepText = text;
    // A null window would mean "every window" to the platform.
    if (runState.UseStatusWindow && !platform::IsNull(runState.StatusWindowHandle)) {
        platform::InvalidateRect(runState.StatusWindowHandle, false);
    }
}

}  // namespace skervo
