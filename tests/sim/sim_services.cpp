// The service control manager of the simulated desktop.
#include <algorithm>
#include <cctype>

#include "platform/services.h"
#include "tests/sim/desktop.h"

namespace skervo::platform {
namespace {

using sim::desktop;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

ServiceHandle OpenHandle(const std::string& name) {
    const std::uintptr_t handle = desktop.nextHandle++;
    desktop.services.openHandles[handle] = name;
    return ServiceHandle{handle};
}

const std::string& NameOf(ServiceHandle handle) {
    return desktop.services.openHandles.at(static_cast<std::uintptr_t>(handle));
}

sim::Service& ServiceOf(ServiceHandle handle) {
    return desktop.services.services.at(NameOf(handle));
}

// A pending start or stop settles once its pending queries are spent.
void Settle(sim::Service& service) {
    const bool pending =
        service.state == kServiceStartPending || service.state == kServiceStopPending;
    if (!pending || service.pendingQueries-- > 0) {
        return;
    }
    if (service.state == kServiceStartPending) {
        service.state = service.failsToStart ? kServiceStopped : kServiceRunning;
    } else {
        service.state = kServiceStopped;
    }
}

}  // namespace

// Every user may connect; only an administrator may do more.
ServiceHandle OpenSCManagerA(std::uint32_t access) {
    constexpr std::uint32_t kEveryUsersRights = kScManagerConnect | kScManagerEnumerateService;
    if (!desktop.services.opens ||
        (!desktop.services.administrator && (access & ~kEveryUsersRights) != 0)) {
        desktop.lastError = kErrorAccessDenied;
        return ServiceHandle{};
    }
    return OpenHandle("");
}

bool InvokeEnumServicesStatusA(ProcAddress function, ServiceHandle manager,
                               std::vector<std::string>& names) {
    if (desktop.ProcedureName(function) != "EnumServicesStatusA" ||
        !desktop.services.openHandles.contains(static_cast<std::uintptr_t>(manager))) {
        return false;
    }
    for (const auto& [name, service] : desktop.services.services) {
        names.push_back(name);
    }
    return true;
}

ServiceHandle OpenServiceA(ServiceHandle manager, const std::string& name, std::uint32_t access) {
    const bool managerOpen =
        desktop.services.openHandles.contains(static_cast<std::uintptr_t>(manager));
    const auto service = desktop.services.services.find(Lower(name));
    if (!managerOpen || service == desktop.services.services.end()) {
        desktop.lastError = kErrorServiceDoesNotExist;
        return ServiceHandle{};
    }
    if (!desktop.services.administrator && (access & ~service->second.delegated) != 0) {
        desktop.lastError = kErrorAccessDenied;
        return ServiceHandle{};
    }
    return OpenHandle(Lower(name));
}

bool QueryServiceStatus(ServiceHandle handle, ServiceStatus& status) {
    sim::Service& service = ServiceOf(handle);
    if (service.failingQueries.contains(++service.queries)) {
        return false;
    }
    Settle(service);
    const bool failed = service.failsToStart && service.state == kServiceStopped;
    status = {service.state, failed ? service.exitCode : 0, failed ? service.specificExitCode : 0};
    return true;
}

bool StartServiceA(ServiceHandle handle) {
    sim::Service& service = ServiceOf(handle);
    desktop.services.starts.push_back(NameOf(handle));
    if (service.refusesStart || service.state != kServiceStopped) {
        desktop.lastError = service.refusesStart ? service.refusal : 1056;  // already running
        return false;
    }
    service.state = kServiceStartPending;
    return true;
}

bool ControlService(ServiceHandle handle, std::uint32_t control, ServiceStatus& status) {
    sim::Service& service = ServiceOf(handle);
    if (control != kServiceControlStop) {
        return false;
    }
    desktop.services.stops.push_back(NameOf(handle));
    if (service.refusesStop || service.state == kServiceStopped) {
        desktop.lastError = service.refusesStop ? service.refusal : 1062;  // not started
        return false;
    }
    service.state = kServiceStopPending;
    status.currentState = service.state;
    return true;
}

bool CloseServiceHandle(ServiceHandle handle) {
    return desktop.services.openHandles.erase(static_cast<std::uintptr_t>(handle)) == 1;
}

}  // namespace skervo::platform
