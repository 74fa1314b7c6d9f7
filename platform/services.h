#pragma once
// The service control manager.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/owned.h"
#include "platform/types.h"

namespace skervo::platform {

enum class ServiceHandle : std::uintptr_t {};

inline constexpr std::uint32_t kServiceControlStop = 1;
// Enough to open a service by name: every user has it.
inline constexpr std::uint32_t kScManagerConnect = 0x0001;
// Enough to list the services: every user has it too.
inline constexpr std::uint32_t kScManagerEnumerateService = 0x0004;
inline constexpr std::uint32_t kServiceQueryStatus = 0x0004;
inline constexpr std::uint32_t kServiceStart = 0x0010;
inline constexpr std::uint32_t kServiceStop = 0x0020;

// What OpenServiceA leaves for a name the manager does not know.
inline constexpr std::uint32_t kErrorServiceDoesNotExist = 1060;

inline constexpr std::uint32_t kServiceStopped = 1;
inline constexpr std::uint32_t kServiceStartPending = 2;
inline constexpr std::uint32_t kServiceStopPending = 3;
inline constexpr std::uint32_t kServiceRunning = 4;

// What a service that stopped on its own reports as its reason.
inline constexpr std::uint32_t kErrorServiceSpecificError = 1066;

// SERVICE_STATUS, as far as the program reads it.
struct ServiceStatus {
    std::uint32_t currentState = 0;
    std::uint32_t win32ExitCode = 0;
    std::uint32_t serviceSpecificExitCode = 0;
};

// The local machine's default database; a null handle on failure.
ServiceHandle OpenSCManagerA(std::uint32_t access);
ServiceHandle OpenServiceA(ServiceHandle manager, const std::string& name, std::uint32_t access);
bool QueryServiceStatus(ServiceHandle service, ServiceStatus& status);
// Starts the service with no arguments.
bool StartServiceA(ServiceHandle service);
bool ControlService(ServiceHandle service, std::uint32_t control, ServiceStatus& status);
bool CloseServiceHandle(ServiceHandle handle);
// Calls an EnumServicesStatusA found with GetProcAddress: the names of the
// Win32 services in every state; false when the manager refuses.
bool InvokeEnumServicesStatusA(ProcAddress function, ServiceHandle manager,
                               std::vector<std::string>& names);

using OwnedServiceHandle = Owned<ServiceHandle, CloseServiceHandle>;

}  // namespace skervo::platform
