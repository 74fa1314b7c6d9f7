#include "ui/unhandled_error.h"

#include <cstdint>
#include <string>

#include "common/exit_code.h"
#include "common/poll_intervals.h"
#include "common/run_state.h"
#include "common/text_rules.h"
#include "journal/event_log.h"
#include "journal/journal.h"
#include "platform/kernel.h"
#include "platform/user.h"
#include "ui/message_pump.h"
#include "ui/notices.h"
#include "ui/status_window.h"
#include "ui/texts.h"

namespace skervo {
namespace {

// As the platform writes a pointer: upper-case hex digits, as many as the pointer holds.
std::string FormatCodeAddress(const void* address) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string digits(2 * sizeof(void*), '0');
    auto value = reinterpret_cast<std::uintptr_t>(address);
    for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit, value >>= 4) {
        *digit = kDigits[value & 0xF];
    }
    return digits;
}

std::string UnhandledErrorText(const ProgramError& error) {
    const std::string& message = error.message;
    const bool endsWithStop = !message.empty() && message.back() == '.';
    return std::string(texts::kUnhandledException) + std::string(ProgramError::kTypeName) +
           std::string(texts::kUnhandledInModule) +
           std::string(FileNameOf(platform::GetModuleFileNameA())) +
           std::string(texts::kUnhandledAt) + FormatCodeAddress(error.codeAddress) + ".\r\n" +
           message + (endsWithStop ? "" : ".") + "\r\n";
}

}  // namespace

void EndWithUnhandledError(const ProgramError& error) {
    runState.Ending = ProcessEnding::UnhandledErrorShowing;
    PresentBox(UnhandledErrorText(error), texts::kUnhandledCaption,
               platform::kMbTaskModal | platform::kMbIconError);
    RemoveTrayIcon();
    EndJournal(kExitUnhandledError);
    ReportRunToEventLog(kExitUnhandledError);
    runState.Ending = ProcessEnding::UnhandledErrorShown;
    platform::ExitProcess(kExitUnhandledError);
}

void EndProcessNormally() {
    ProcessEnding seen = ProcessEnding::NotYet;
    if (runState.Ending.compare_exchange_strong(seen, ProcessEnding::Normally) ||
        seen == ProcessEnding::Normally) {
        EndJournal(RunExitCode());
        // A closing line that could not be written leaves the journal incomplete.
        const std::uint32_t exitCode = RunExitCode();
        ReportRunToEventLog(exitCode);
        platform::ExitProcess(exitCode);
    }
    // The other thread's end comes after its box, and takes this thread along.
    while (runState.Ending != ProcessEnding::UnhandledErrorShown) {
        platform::Sleep(kPollIntervalMilliseconds);
    }
    platform::ExitProcess(kExitUnhandledError);
}

}  // namespace skervo
