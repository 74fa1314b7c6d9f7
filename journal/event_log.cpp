#include "journal/event_log.h"

#include <string>

#include "common/exit_code.h"
#include "common/run_state.h"
#include "journal/journal.h"
#include "journal/journal_texts.h"
#include "platform/event_log.h"
#include "platform/kernel.h"
#include "platform/owned.h"

namespace skervo {
namespace {

platform::ProcAddress EventFunction(const char* name) {
    return platform::GetProcAddress(platform::GetModuleHandleA("advapi32.dll"), name);
}

bool Deregister(platform::EventSourceHandle source) {
    return platform::InvokeDeregisterEventSource(EventFunction("DeregisterEventSource"), source);
}
using OwnedEventSource = platform::Owned<platform::EventSourceHandle, Deregister>;

std::uint16_t EventType(std::uint32_t exitCode) {
    switch (exitCode) {
        case kExitSuccess:
            return platform::kEventlogInformationType;
        case kExitSomethingFailed:
            return platform::kEventlogWarningType;
        default:
            return platform::kEventlogErrorType;
    }
}

}  // namespace

// Without the key the package writes, the event is written all the same:
// the Event Viewer then shows its strings without the message.
void ReportRunToEventLog(std::uint32_t exitCode) {
    const platform::ProcAddress registerSource = EventFunction("RegisterEventSourceA");
    const platform::ProcAddress report = EventFunction("ReportEventA");
    if (!runState.Switches.unattended || platform::IsNull(registerSource) ||
        platform::IsNull(report) || platform::IsNull(EventFunction("DeregisterEventSource"))) {
        return;
    }
    const OwnedEventSource source(
        platform::InvokeRegisterEventSourceA(registerSource, std::string(texts::kEventSource)));
    if (!source) {
        return;
    }
    const std::string& journal = runState.Switches.journalPath;
    const std::string strings[] = {ScriptFullPath(), RunDuration(),
                                   std::to_string(FailedLineCount()), std::to_string(exitCode),
                                   journal.empty() ? std::string(texts::kEventNoJournal)
                                                   : platform::GetFullPathNameA(journal)};
    platform::InvokeReportEventA(report, source.Get(), EventType(exitCode),
                                 kFirstRunEventId + exitCode, strings);
}

}  // namespace skervo
