#include "dialup/dials_under_way.h"

#include <cstdint>

#include "common/run_state.h"
#include "dialup/ras_functions.h"

namespace skervo {

// The dial's notification, on the platform's thread, may come before the
// dial has handed its handle over, or after: both look for failed dials, and
// the one that takes a dial from its place is the one that hangs it up.
void FollowDial(platform::RasConnectionHandle dial) {
    for (std::atomic<std::uintptr_t>& place : runState.DialsUnderWay) {
        std::uintptr_t free = 0;
        if (place.compare_exchange_strong(free, static_cast<std::uintptr_t>(dial))) {
            break;
        }
    }
    HangUpFailedDials();
}

void HangUpFailedDials() {
    for (std::atomic<std::uintptr_t>& place : runState.DialsUnderWay) {
        std::uintptr_t dial = place.load();
        if (dial == 0) {
            continue;
        }
        platform::RasConnectionStatus status;
        const platform::RasConnectionHandle handle{dial};
        const bool known = RasGetConnectStatus(handle, status) == 0;
        const bool failed = known && status.error != 0;
        if (known && !failed && status.state != platform::kRasCsConnected) {
            continue;  // still dialling
        }
        if (place.compare_exchange_strong(dial, 0) && failed) {
            RasHangUp(handle);
        }
    }
}

}  // namespace skervo
