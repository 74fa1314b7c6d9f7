#include "services/service_control.h"

#include <cstdint>
#include <string>

#include "common/poll_intervals.h"
#include "common/system_error.h"
#include "common/wait_limit.h"
#include "journal/journal.h"
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

// What asking for the target state came to.
enum class Request { Failed, AlreadyThere, OnItsWay };

// Starts a service that is neither running nor starting, stops one that is
// neither stopped nor stopping. status holds the last state known.
Request RequestState(ServiceHandle service, ServiceAction action, ServiceStatus& status) {
    if (!platform::QueryServiceStatus(service, status)) {
        return Request::Failed;
    }
    const std::uint32_t state = status.currentState;
    if (action == ServiceAction::Start) {
        if (state == platform::kServiceRunning) {
            return Request::AlreadyThere;
        }
        return state == platform::kServiceStartPending || platform::StartServiceA(service)
                   ? Request::OnItsWay
                   : Request::Failed;
    }
    if (state == platform::kServiceStopped) {
        return Request::AlreadyThere;
    }
    return state == platform::kServiceStopPending ||
                   platform::ControlService(service, platform::kServiceControlStop, status)
               ? Request::OnItsWay
               : Request::Failed;
}

// How a service command ended; a failure's reason in the journal's words,
// when the system gave one.
struct Outcome {
    enum Kind { Done, Failed, TimeLimitReached, NoRights } kind = Done;
    std::string why{};
};

// A service that stopped instead of starting says why in its status: a
// system error, or a code of its own.
std::string WhyItStopped(const ServiceStatus& status) {
    if (status.win32ExitCode == platform::kErrorServiceSpecificError) {
        return SystemErrorText(status.win32ExitCode) + std::string(texts::kServiceOwnCode) +
               std::to_string(status.serviceSpecificExitCode);
    }
    return status.win32ExitCode != 0 ? SystemErrorText(status.win32ExitCode)
                                     : std::string(texts::kServiceStoppedAgain);
}

// Polls until the service reaches its target state, the user closes the
// status window or the time limit is reached. A start that the service gave
// up on (it reports stopped again) would never reach running: the wait ends
// there as a failure, rather than hang a silent run for good. A stop has no
// such end: a service may still report running for a moment after it
// accepted the stop control.
Outcome WaitForState(ServiceHandle service, std::string_view name, ServiceAction action,
                     ServiceStatus& status) {
    const bool start = action == ServiceAction::Start;
    ShowStep(Join(start ? texts::kWaitingServiceStart : texts::kWaitingServiceStop, name));
    const std::uint32_t target = start ? platform::kServiceRunning : platform::kServiceStopped;
    WaitLimit limit;
    for (;;) {
        // A failed query keeps the last state known.
        const bool queried = platform::QueryServiceStatus(service, status);
        platform::Sleep(kPollIntervalMilliseconds);
        if (!PollMessages()) {
            return {Outcome::Failed};
        }
        if (status.currentState == target) {
            return {Outcome::Done};
        }
        // Only a fresh answer counts: the record may still hold the state
        // from before the start was sent.
        if (start && queried && status.currentState == platform::kServiceStopped) {
            return {Outcome::Failed, WhyItStopped(status)};
        }
        if (limit.Reached()) {
            return {Outcome::TimeLimitReached};
        }
    }
}

Happened WhatWasDone(Request request, ServiceAction action, ServiceWait wait) {
    const bool start = action == ServiceAction::Start;
    if (request == Request::AlreadyThere) {
        return start ? Happened::ServiceAlreadyRunning : Happened::ServiceAlreadyStopped;
    }
    if (wait == ServiceWait::No) {
        return start ? Happened::ServiceStartSent : Happened::ServiceStopSent;
    }
    return start ? Happened::ServiceStarted : Happened::ServiceStopped;
}

// A user without the right to the service is refused quietly, as by the
// manager; one whose administrator delegated it that right gets it.
Outcome ControlOpenService(ServiceHandle manager, std::string_view name, ServiceAction action,
                           ServiceWait wait) {
    const std::uint32_t access =
        platform::kServiceQueryStatus |
        (action == ServiceAction::Start ? platform::kServiceStart : platform::kServiceStop);
    const platform::OwnedServiceHandle service(
        platform::OpenServiceA(manager, std::string(name), access));
    if (!service) {
        const std::uint32_t error = platform::GetLastError();
        if (error == platform::kErrorAccessDenied) {
            Tell(Happened::ServiceRefused, 0, SystemErrorText(error));
            return {Outcome::NoRights};
        }
        return {Outcome::Failed, SystemErrorText(error)};
    }
    ServiceStatus status;
    const Request request = RequestState(service.Get(), action, status);
    if (request == Request::Failed) {
        return {Outcome::Failed, SystemErrorText(platform::GetLastError())};
    }
    if (wait == ServiceWait::UntilReached) {
        if (Outcome waited = WaitForState(service.Get(), name, action, status);
            waited.kind != Outcome::Done) {
            return waited;
        }
    }
    Tell(WhatWasDone(request, action, wait));
    return {Outcome::Done};
}

// Both handles are closed, the service's first, by the time it answers.
// Without the manager (no manager at all on the Windows 95 family) the
// command quietly does nothing, but for the journal.
Outcome ControlThroughManager(std::string_view name, ServiceAction action, ServiceWait wait) {
    const platform::OwnedServiceHandle manager(
        platform::OpenSCManagerA(platform::kScManagerConnect));
    if (!manager) {
        Tell(Happened::ServiceRefused, 0, SystemErrorText(platform::GetLastError()));
        return {Outcome::NoRights};
    }
    return ControlOpenService(manager.Get(), name, action, wait);
}

}  // namespace

bool ControlServiceAndWait(std::string_view name, ServiceAction action, ServiceWait wait) {
    const bool start = action == ServiceAction::Start;
    ShowStep(Join(start ? texts::kStartingService : texts::kStoppingService, name));
    PollMessages();  // paints the step before the manager keeps us waiting
    const Outcome outcome = ControlThroughManager(name, action, wait);
    if (outcome.kind == Outcome::Failed) {
        if (!outcome.why.empty()) {
            Tell(Happened::ServiceFailed, 0, outcome.why);
        }
        ShowError(Join(start ? texts::kCannotStartService : texts::kCannotStopService, name));
    }
    return outcome.kind == Outcome::Done;
}

}  // namespace skervo
