#include "common/wait_limit.h"

#include "common/run_state.h"
#include "journal/journal.h"

namespace skervo {

bool WaitLimit::Reached() {
    const std::uint32_t limit = runState.Switches.timeLimitSeconds;
    if (limit == 0 || waited_.Elapsed() < std::int64_t{limit} * 1000) {
        return false;
    }
    Tell(Happened::TimeLimitReached, limit, runState.StepText);
    return true;
}

}  // namespace skervo
