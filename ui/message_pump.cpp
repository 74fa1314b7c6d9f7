#include "ui/message_pump.h"

#include "common/run_state.h"
#include "platform/kernel.h"
#include "platform/user.h"

namespace skervo {

namespace {

// Each look at the queue is a call to the system. The hidden window only
// waits to hear whether the session ends, which the system gives seconds to
// answer: a look every 50 ms keeps a script of a million lines at full speed.
bool SessionWindowDueForALook() {
    constexpr std::uint32_t kPollEvery = 50;  // ms
    const std::uint32_t now = platform::GetTickCount();
    if (runState.SessionWindowPolledAt && now - *runState.SessionWindowPolledAt < kPollEvery) {
        return false;
    }
    runState.SessionWindowPolledAt = now;
    return true;
}

}  // namespace

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

bool PollMessagesBetweenLines() {
    return IsSilentRun() && !SessionWindowDueForALook() ? true : PollMessages();
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
