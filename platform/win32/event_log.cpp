// The Application event log, through functions found by name.
#include "platform/event_log.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/native.h"

static_assert(skervo::platform::kEventlogErrorType == EVENTLOG_ERROR_TYPE);
static_assert(skervo::platform::kEventlogWarningType == EVENTLOG_WARNING_TYPE);
static_assert(skervo::platform::kEventlogInformationType == EVENTLOG_INFORMATION_TYPE);

namespace skervo::platform {

EventSourceHandle InvokeRegisterEventSourceA(ProcAddress function, const std::string& source) {
    using Function = HANDLE(WINAPI*)(const char*, const char*);
    return FromNative<EventSourceHandle>(As<Function>(function)(nullptr, source.c_str()));
}

bool InvokeReportEventA(ProcAddress function, EventSourceHandle source, std::uint16_t type,
                        std::uint32_t eventId, std::span<const std::string> strings) {
    const char* pointers[kMostEventStrings] = {};
    for (std::size_t index = 0; index < strings.size() && index < kMostEventStrings; ++index) {
        pointers[index] = strings[index].c_str();
    }
    using Function =
        BOOL(WINAPI*)(HANDLE, WORD, WORD, DWORD, PSID, WORD, DWORD, const char**, void*);
    return As<Function>(function)(ToNative(source), type, 0, eventId, nullptr,
                                  static_cast<WORD>(std::min(strings.size(), kMostEventStrings)), 0,
                                  pointers, nullptr) != FALSE;
}

bool InvokeDeregisterEventSource(ProcAddress function, EventSourceHandle source) {
    using Function = BOOL(WINAPI*)(HANDLE);
    return As<Function>(function)(ToNative(source)) != FALSE;
}

}  // namespace skervo::platform
