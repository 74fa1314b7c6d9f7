#include "services/service_control.h"

#include <cstdint>
#include <string>

#include "platform/kernel.h"
#include "platform/services.h"
#include "ui/message_pump.h"
#include "ui/notices.h"
#include "ui/texts.h"

namespace skervo {
namespace {

using platform::ServiceHandle;
using platform::ServiceStatus;

constexpr std::uint32_t kPollInterval = 200;

std::string Join(std::string_view text, std::string_view name) {
    return std::string(text) + std::string(name);
}

// Starts a service that is neither running nor starting, stops one that is
// neither stopped nor stopping. status holds the last state known.
bool RequestState(ServiceHandle service, bool start, ServiceStatus& status) {
    if (!platform::QueryServiceStatus(service, status)) {
        return false;
    }
    const std::uint32_t state = status.currentState;
    if (start) {
        return state == platform::kServiceRunning || state == platform::kServiceStartPending ||
               platform::StartServiceA(service);
    }
    return state == platform::kServiceStopped || state == platform::kServiceStopPending ||
           platform::ControlService(service, platform::kServiceControlStop, status);
}

// Polls until the service reaches its target state or the user closes the
// status window. A start that the service gave up on (it reports stopped
// again) would never reach running: the wait ends there as a failure, rather
// than hang a silent run for good. A stop has no such end: a service may
// still report running for a moment after it accepted the stop control.
bool WaitForState(ServiceHandle service, std::string_view name, bool start, ServiceStatus& status) {
    ShowStep(Join(start ? texts::kWaitingServiceStart : texts::kWaitingServiceStop, name), true);
    const std::uint32_t target = start ? platform::kServiceRunning : platform::kServiceStopped;
    for (;;) {
        // A failed query keeps the last state known.
        const bool queried = platform::QueryServiceStatus(service, status);
        platform::Sleep(kPollInterval);
        if (!PollMessages()) {
            return false;
        }
        if (status.currentState == target) {
            return true;
        }
        // Only a fresh answer counts: the record may still hold the state
        // from before the start was sent.
        if (start && queried && status.currentState == platform::kServiceStopped) {
            return false;
        }
    }
}

bool ControlOpenService(ServiceHandle manager, std::string_view name, bool wait, bool start) {
    const ServiceHandle service =
        platform::OpenServiceA(manager, std::string(name), platform::kServiceAllAccess);
    if (platform::IsNull(service)) {
        return false;
    }
    ServiceStatus status;
    const bool done = RequestState(service, start, status) &&
                      (!wait || WaitForState(service, name, start, status));
    platform::CloseServiceHandle(service);
    return done;
}

}  // namespace

bool ControlServiceAndWait(std::string_view name, bool wait, bool start) {
    ShowStep(Join(start ? texts::kStartingService : texts::kStoppingService, name), true);
    PollMessages();  // paints the step before the manager keeps us waiting
    const ServiceHandle manager = platform::OpenSCManagerA(platform::kScManagerAllAccess);
    // Without the manager (too few rights, or no manager at all on the
    // Windows 95 family) the command quietly does nothing.
    if (platform::IsNull(manager)) {
        return false;
    }
    const bool done = ControlOpenService(manager, name, wait, start);
    platform::CloseServiceHandle(manager);
    if (!done) {
        ShowError(Join(start ? texts::kCannotStartService : texts::kCannotStopService, name));
    }
    return done;
}

}  // namespace skervo
