#include "services/service_control.h"

#include <cstdint>
#include <optional>
#include <string>

#include "common/poll_intervals.h"
#include "platform/kernel.h"
#include "platform/services.h"
#include "ui/message_pump.h"
#include "ui/notices.h"
#include "ui/texts.h"

namespace skervo {
namespace {

using platform::ServiceHandle;
using platform::ServiceStatus;

std::string Join(std::string_view text, std::string_view name) {
    return std::string(text) + std::string(name);
}

// Starts a service that is neither running nor starting, stops one that is
// neither stopped nor stopping. status holds the last state known.
bool RequestState(ServiceHandle service, ServiceAction action, ServiceStatus& status) {
    if (!platform::QueryServiceStatus(service, status)) {
        return false;
    }
    const std::uint32_t state = status.currentState;
    if (action == ServiceAction::Start) {
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
bool WaitForState(ServiceHandle service, std::string_view name, ServiceAction action,
                  ServiceStatus& status) {
    const bool start = action == ServiceAction::Start;
    ShowStep(Join(start ? texts::kWaitingServiceStart : texts::kWaitingServiceStop, name));
    const std::uint32_t target = start ? platform::kServiceRunning : platform::kServiceStopped;
    for (;;) {
        // A failed query keeps the last state known.
        const bool queried = platform::QueryServiceStatus(service, status);
        platform::Sleep(kPollIntervalMilliseconds);
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

bool ControlOpenService(ServiceHandle manager, std::string_view name, ServiceAction action,
                        ServiceWait wait) {
    const platform::OwnedServiceHandle service(
        platform::OpenServiceA(manager, std::string(name), platform::kServiceAllAccess));
    if (!service) {
        return false;
    }
    ServiceStatus status;
    return RequestState(service.Get(), action, status) &&
           (wait == ServiceWait::No || WaitForState(service.Get(), name, action, status));
}

// Empty when the manager cannot be opened. Both handles are closed, the
// service's first, by the time it answers.
std::optional<bool> ControlThroughManager(std::string_view name, ServiceAction action,
                                          ServiceWait wait) {
    const platform::OwnedServiceHandle manager(
        platform::OpenSCManagerA(platform::kScManagerAllAccess));
    if (!manager) {
        return std::nullopt;
    }
    return ControlOpenService(manager.Get(), name, action, wait);
}

}  // namespace

bool ControlServiceAndWait(std::string_view name, ServiceAction action, ServiceWait wait) {
    const bool start = action == ServiceAction::Start;
    ShowStep(Join(start ? texts::kStartingService : texts::kStoppingService, name));
    PollMessages();  // paints the step before the manager keeps us waiting
    const std::optional<bool> done = ControlThroughManager(name, action, wait);
    // Without the manager (too few rights, or no manager at all on the
    // Windows 95 family) the command quietly does nothing.
    if (!done) {
        return false;
    }
    if (!*done) {
        ShowError(Join(start ? texts::kCannotStartService : texts::kCannotStopService, name));
    }
    return *done;
}

}  // namespace skervo
