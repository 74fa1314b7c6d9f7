#include "dialup/dials_under_way.h"

#include <algorithm>
#include <cstdint>

#include "common/run_state.h"
#include "dialup/ras_functions.h"

namespace skervo {
namespace {

void ClearPlacesOf(auto& places, platform::RasConnectionHandle connection) {
    for (std::atomic<std::uintptr_t>& place : places) {
        std::uintptr_t held = static_cast<std::uintptr_t>(connection);
        place.compare_exchange_strong(held, 0);
    }
}

// Noted before the hang-up, so that a count on another thread that finds the
// connection ending already knows why.
void HangUpAsFailed(std::uintptr_t dial) {
    const std::uint32_t slot = runState.NextHungUpDial++ % runState.DialsHungUp.size();
    runState.DialsHungUp[slot] = dial;
    RasHangUp(platform::RasConnectionHandle{dial});
}

}  // namespace

// The dial's notification, on the platform's thread, may come before the
// dial has handed its handle over, or after: both look for failed dials, and
// the one that takes a dial from its place is the one that hangs it up.
// Finished dials are forgotten first, so that they leave their places free.
void FollowDial(platform::RasConnectionHandle dial) {
    HangUpFailedDials();
    for (std::atomic<std::uintptr_t>& place : runState.DialsUnderWay) {
        std::uintptr_t free = 0;
        if (place.compare_exchange_strong(free, static_cast<std::uintptr_t>(dial))) {
            break;
        }
    }
    HangUpFailedDials();
}

// A dial disconnected without an error still holds what the platform gave it.
void HangUpFailedDials() {
    for (std::atomic<std::uintptr_t>& place : runState.DialsUnderWay) {
        std::uintptr_t dial = place.load();
        if (dial == 0) {
            continue;
        }
        platform::RasConnectionStatus status;
        const bool known = RasGetConnectStatus(platform::RasConnectionHandle{dial}, status) == 0;
        const bool failed =
            known && (status.error != 0 || status.state == platform::kRasCsDisconnected);
        if (known && !failed && status.state != platform::kRasCsConnected) {
            continue;  // still dialling
        }
        if (place.compare_exchange_strong(dial, 0) && failed) {
            HangUpAsFailed(dial);
        }
    }
}

void ForgetDial(platform::RasConnectionHandle dial) {
    ClearPlacesOf(runState.DialsUnderWay, dial);
}

void ForgetHungUpDial(platform::RasConnectionHandle connection) {
    ClearPlacesOf(runState.DialsHungUp, connection);
}

bool WasHungUpAsFailed(platform::RasConnectionHandle connection) {
    return std::any_of(runState.DialsHungUp.begin(), runState.DialsHungUp.end(),
                       [&](const std::atomic<std::uintptr_t>& hungUp) {
                           return hungUp == static_cast<std::uintptr_t>(connection);
                       });
}

}  // namespace skervo
