#include "script/end_of_run.h"

#include "common/poll_intervals.h"
#include "common/run_state.h"
#include "common/wait_limit.h"
#include "dialup/count_connections.h"
#include "journal/journal.h"
#include "platform/kernel.h"
#include "programs/application_closing.h"
#include "ui/message_pump.h"
#include "ui/texts.h"

namespace skervo {
namespace {

// When the time limit is reached, the applications are closed all the same.
void WaitForEndOfConnection() {
    WaitLimit limit;
    std::optional<std::int32_t> count;
    while ((count = CountConnections()) && *count > 0) {
        ShowStep(texts::kWaitingForDisconnection);
        if (!PollMessages() || limit.Reached()) {
            return;
        }
        platform::Sleep(kDisconnectionPollMilliseconds);
    }
    if (count) {
        Tell(Happened::NoConnectionLeft);
    }
}

// Whether each program left running at the time limit runs still, or how it ended.
void TellProgramsLeftRunning() {
    for (const ProgramLeftRunning& left : runState.ProgramsLeftRunning) {
        const platform::KernelHandle process = left.program.process.Get();
        std::uint32_t exitCode = 0;
        if (platform::WaitForSingleObject(process, 0) == platform::kWaitTimeout) {
            Tell(Happened::StillRunning, left.program.processId, left.name);
        } else if (platform::GetExitCodeProcess(process, exitCode)) {
            Tell(Happened::EndedAfterTimeLimit, exitCode, left.name);
        }
    }
    runState.ProgramsLeftRunning.clear();
}

}  // namespace

// The connection the script named is waited for only when there are
// applications to close after it.
void FinishRun() {
    TellProgramsLeftRunning();
    if (runState.StartedApps.empty()) {
        return;
    }
    if (!runState.ConnectionName.empty()) {
        WaitForEndOfConnection();
    }
    CloseStartedApplications();
}

}  // namespace skervo
