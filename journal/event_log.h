#pragma once
// The result of an unattended run in the Application event log, where
// administrators collect it from a whole fleet.
#include <cstdint>

namespace skervo {

inline constexpr std::uint32_t kFirstRunEventId = 1000;

// With /Journal or /Delai, one event once the exit code is final: source
// « Skervo », identifier 1000 plus the exit code, information for 0, a
// warning for 2, an error otherwise. Its strings are the script, the
// duration, the failed lines, the exit code and the journal, which
// skervo.exe's message table (resources/events.mc) puts in words. The 95
// family keeps no event log.
void ReportRunToEventLog(std::uint32_t exitCode);

}  // namespace skervo
