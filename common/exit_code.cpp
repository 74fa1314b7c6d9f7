#include "common/exit_code.h"

#include "common/run_state.h"

namespace skervo {

int FailedLineCount() {
    return runState.Outcome.failedLines + (runState.Outcome.lineFailed ? 1 : 0);
}

std::uint32_t RunExitCode() {
    const RunOutcome& outcome = runState.Outcome;
    if (!runState.Switches.unattended) {
        return kExitSuccess;
    }
    if (outcome.couldNotStart) {
        return kExitCouldNotStart;
    }
    if (FailedLineCount() > 0 || outcome.timeLimitReached || outcome.interrupted ||
        runState.Journal.incomplete) {
        return kExitSomethingFailed;
    }
    return kExitSuccess;
}

}  // namespace skervo
