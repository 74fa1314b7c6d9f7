// The service control manager, forwarded to the real functions.
#include "platform/services.h"

#include <windows.h>

#include "platform/win32/native.h"

static_assert(skervo::platform::kServiceStart == SERVICE_START);
static_assert(skervo::platform::kServiceStop == SERVICE_STOP);
static_assert(skervo::platform::kServiceControlStop == SERVICE_CONTROL_STOP);
static_assert(skervo::platform::kScManagerConnect == SC_MANAGER_CONNECT);
static_assert(skervo::platform::kServiceQueryStatus == SERVICE_QUERY_STATUS);
static_assert(skervo::platform::kErrorServiceDoesNotExist == ERROR_SERVICE_DOES_NOT_EXIST);
static_assert(skervo::platform::kServiceStopped == SERVICE_STOPPED);
static_assert(skervo::platform::kServiceStartPending == SERVICE_START_PENDING);
static_assert(skervo::platform::kServiceStopPending == SERVICE_STOP_PENDING);
static_assert(skervo::platform::kServiceRunning == SERVICE_RUNNING);

static_assert(skervo::platform::kErrorServiceSpecificError == ERROR_SERVICE_SPECIFIC_ERROR);

namespace skervo::platform {
ServiceHandle OpenSCManagerA(std::uint32_t access) {
    return FromNative<ServiceHandle>(::OpenSCManagerA(nullptr, nullptr, access));
}

ServiceHandle OpenServiceA(ServiceHandle manager, const std::string& name, std::uint32_t access) {
    return FromNative<ServiceHandle>(::OpenServiceA(ToNative(manager), name.c_str(), access));
}

// The record is written only on success, so that a failed query leaves the
// caller's last state in place.
bool QueryServiceStatus(ServiceHandle service, ServiceStatus& status) {
    SERVICE_STATUS native{};
    if (!::QueryServiceStatus(ToNative(service), &native)) {
        return false;
    }
    status = {native.dwCurrentState, native.dwWin32ExitCode, native.dwServiceSpecificExitCode};
    return true;
}

bool StartServiceA(ServiceHandle service) {
    return ::StartServiceA(ToNative(service), 0, nullptr) != FALSE;
}

bool ControlService(ServiceHandle service, std::uint32_t control, ServiceStatus& status) {
    SERVICE_STATUS native{};
    if (!::ControlService(ToNative(service), control, &native)) {
        return false;
    }
    status = {native.dwCurrentState, native.dwWin32ExitCode, native.dwServiceSpecificExitCode};
    return true;
}

bool CloseServiceHandle(ServiceHandle handle) {
    return ::CloseServiceHandle(ToNative(handle)) != FALSE;
}

}  // namespace skervo::platform
