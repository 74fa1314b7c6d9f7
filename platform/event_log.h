#pragma once
// The Application event log. The functions are found by name in
// advapi32.dll: the 95 family keeps no event log.
#include <cstdint>
#include <span>
#include <string>

#include "platform/types.h"

namespace skervo::platform {

enum class EventSourceHandle : std::uintptr_t {};

inline constexpr std::uint16_t kEventlogErrorType = 1;
inline constexpr std::uint16_t kEventlogWarningType = 2;
inline constexpr std::uint16_t kEventlogInformationType = 4;

// RegisterEventSourceA on this computer; null on failure.
EventSourceHandle InvokeRegisterEventSourceA(ProcAddress function, const std::string& source);
// ReportEventA with no category, no user and no data: the event whose
// message the source's message table gives for this identifier, with
// these insertion strings, the first kMostEventStrings of them.
inline constexpr std::size_t kMostEventStrings = 8;
bool InvokeReportEventA(ProcAddress function, EventSourceHandle source, std::uint16_t type,
                        std::uint32_t eventId, std::span<const std::string> strings);
bool InvokeDeregisterEventSource(ProcAddress function, EventSourceHandle source);

}  // namespace skervo::platform
