// The Application event log of the simulated desktop: events recorded.
#include "platform/event_log.h"
#include "tests/sim/desktop.h"

namespace skervo::platform {

using sim::desktop;

EventSourceHandle InvokeRegisterEventSourceA(ProcAddress, const std::string& source) {
    const std::uintptr_t handle = desktop.nextHandle++;
    desktop.handles[handle] = {.kind = sim::OpenHandle::Kind::EventSource, .path = source};
    return EventSourceHandle{handle};
}

bool InvokeReportEventA(ProcAddress, EventSourceHandle source, std::uint16_t type,
                        std::uint32_t eventId, std::span<const std::string> strings) {
    desktop.events.push_back({desktop.handles.at(static_cast<std::uintptr_t>(source)).path, type,
                              eventId, std::vector<std::string>(strings.begin(), strings.end())});
    return true;
}

bool InvokeDeregisterEventSource(ProcAddress, EventSourceHandle source) {
    return desktop.handles.erase(static_cast<std::uintptr_t>(source)) == 1;
}

}  // namespace skervo::platform
