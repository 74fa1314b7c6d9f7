#include "script/pause.h"

#include <cstdint>
#include <string>

#include "common/poll_intervals.h"
#include "common/run_state.h"
#include "common/stopwatch.h"
#include "platform/kernel.h"
#include "ui/message_pump.h"
#include "ui/texts.h"

namespace skervo {

void RunPause(std::string_view countText) {
    ShowStep(std::string(texts::kPauseStart) + std::string(countText));
    // The time left is measured, not compared with a deadline tick, so that
    // a pause keeps its length across the tick counter's wrap-around.
    Stopwatch stopwatch;
    for (;;) {
        const std::int64_t left = runState.PauseMilliseconds - stopwatch.Elapsed();
        if (left < 0) {
            break;
        }
        ShowStep(std::string(texts::kPauseStart) + std::to_string(left / 1000 + 1) +
                     std::string(texts::kPauseSecondsLeft),
                 StepChange::SameStep);
        if (!PollMessages()) {
            break;
        }
        platform::Sleep(kPollIntervalMilliseconds);
    }
    // Set directly, without a repaint: the next step shows it as its predecessor.
    runState.StepText = std::string(texts::kPauseSummary) +
                        std::to_string(runState.PauseMilliseconds / 1000) +
                        std::string(texts::kPauseSummarySeconds);
    PollMessages();
}

}  // namespace skervo
