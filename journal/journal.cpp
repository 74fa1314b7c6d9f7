#include "journal/journal.h"

#include <mutex>
#include <string>

#include "common/exit_code.h"
#include "common/final_path.h"
#include "common/run_state.h"
#include "common/system_error.h"
#include "common/text_rules.h"
#include "common/trusted_files.h"
#include "journal/journal_rotation.h"
#include "journal/journal_texts.h"
#include "journal/run_identity.h"
#include "journal/time_stamp.h"
#include "platform/kernel.h"
#include "ui/texts.h"

namespace skervo {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// A text of several lines (a box's) keeps its lines, each after a tab, so
// that every line that begins without one begins an entry.
std::string OnOneEntry(std::string_view text) {
    std::string entry;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') {
            continue;
        }
        if (text[at] == '\n' || text[at] == '\r') {
            entry += std::string(kLineEnd) + "\t";
        } else {
            entry += text[at];
        }
    }
    return entry;
}

// Written whole, in one write, or counted as lost.
void Write(std::string_view text) {
    JournalFile& file = runState.Journal.file;
    if (!file.IsOpen()) {
        return;
    }
    const std::string entry = TimeStamp() + " " + runState.Journal.runMark + " " +
                              WithControlsShown(OnOneEntry(text), "\t\r\n") + std::string(kLineEnd);
    if (!file.Append(entry)) {
        runState.Journal.incomplete = true;
    }
}

// Before the first line, what happens belongs to the run as a whole.
void WriteInContext(std::string_view text) {
    std::string context;
    {
        const std::lock_guard lock(runState.Journal.contextLock);
        context = runState.Journal.context;
    }
    Write(context.empty() ? std::string(text) : context + " : " + std::string(text));
}

// A line counts once, however many of its steps failed.
void CloseLineOutcome() {
    if (runState.Outcome.lineFailed.exchange(false)) {
        ++runState.Outcome.failedLines;
    }
}

void SetContext(std::string context) {
    CloseLineOutcome();
    const std::lock_guard lock(runState.Journal.contextLock);
    runState.Journal.context = std::move(context);
}

bool IsFailure(Happened what) {
    switch (what) {
        case Happened::NotStarted:
        case Happened::EndedInFailure:
        case Happened::ServiceRefused:
        case Happened::ServiceFailed:
        case Happened::ProcessRefused:
        case Happened::WindowRefused:
        case Happened::TimeLimitReached:
        case Happened::StoppedByUser:
            return true;
        case Happened::StoppedAfterFailure:  // the line that failed counts already
        case Happened::CarriedOutAs:
        case Happened::ScriptUnreadable:  // the run could not start: no line failed
        case Happened::WrongSwitch:
        case Happened::DownloadedScriptRefused:
        case Happened::DownloadedScriptRun:
        case Happened::Started:
        case Happened::Ended:
        case Happened::EndedRestartNeeded:
        case Happened::EndedRestartStarted:
        case Happened::OpenedByShell:
        case Happened::ServiceStarted:
        case Happened::ServiceStopped:
        case Happened::ServiceAlreadyRunning:
        case Happened::ServiceAlreadyStopped:
        case Happened::ServiceStartSent:
        case Happened::ServiceStopSent:
        case Happened::WindowsClosed:
        case Happened::ProcessesKilled:
        case Happened::NothingToClose:
        case Happened::Paused:
        case Happened::PauseSkipped:
        case Happened::EndNotWaitedFor:
        case Happened::StillRunning:  // its line failed at the time limit
        case Happened::EndedAfterTimeLimit:
        case Happened::WindowHidden:
        case Happened::WindowShown:
        case Happened::NoStatusWindow:
        case Happened::DialStarted:
        case Happened::AlreadyDialled:
        case Happened::ConnectionFound:
        case Happened::NoConnectionLeft:
        case Happened::HungUp:
            return false;
    }
    return false;
}

std::string Words(Happened what, std::int64_t number, std::string_view detail) {
    using namespace texts;
    const std::string n = std::to_string(number);
    const std::string d(detail);
    switch (what) {
        case Happened::Started:
            return std::string(kStarted) + n;
        case Happened::Ended:
            return std::string(kEnded) + n;
        case Happened::EndedInFailure:
            return std::string(kEndedInFailure) + n;
        case Happened::EndedRestartNeeded:
            return std::string(kEnded) + n + std::string(kRestartNeeded);
        case Happened::EndedRestartStarted:
            return std::string(kEnded) + n + std::string(kRestartStarted);
        case Happened::NotStarted:
            return std::string(kNotStarted) + d;
        case Happened::CarriedOutAs:
            return std::string(kCarriedOutAs) + d;
        case Happened::OpenedByShell:
            return std::string(kOpenedByShell);
        case Happened::ServiceStarted:
            return std::string(kServiceStarted);
        case Happened::ServiceStopped:
            return std::string(kServiceStopped);
        case Happened::ServiceAlreadyRunning:
            return std::string(kServiceAlreadyRunning);
        case Happened::ServiceAlreadyStopped:
            return std::string(kServiceAlreadyStopped);
        case Happened::ServiceStartSent:
            return std::string(kServiceStartSent);
        case Happened::ServiceStopSent:
            return std::string(kServiceStopSent);
        case Happened::ServiceRefused:
            return std::string(kServiceRefused) + d;
        case Happened::ServiceFailed:
            return std::string(kServiceFailed) + d;
        case Happened::WindowsClosed:
            return std::string(kWindowsClosed) + n;
        case Happened::ProcessesKilled:
            return std::string(kProcessesKilled) + n;
        case Happened::NothingToClose:
            return std::string(kNothingToClose);
        case Happened::ProcessRefused:
            return std::string(kProcessRefused) + n + " : " + d;
        case Happened::WindowRefused:
            return std::string(kWindowRefused) + d;
        case Happened::Paused:
            return std::string(kPaused) + n + std::string(kSeconds);
        case Happened::PauseSkipped:
            return std::string(kPauseSkipped);
        case Happened::EndNotWaitedFor:
            return std::string(kEndNotWaitedFor);
        case Happened::StillRunning:
            return std::string(kStillRunning) + d + std::string(kStillRunningProcess) + n;
        case Happened::EndedAfterTimeLimit:
            return d + std::string(kEndedAfterTimeLimit) + n;
        case Happened::WindowHidden:
            return std::string(kWindowHidden);
        case Happened::WindowShown:
            return std::string(kWindowShown);
        case Happened::NoStatusWindow:
            return std::string(kNoStatusWindow);
        case Happened::DialStarted:
            return std::string(kDialStarted);
        case Happened::AlreadyDialled:
            return std::string(kAlreadyDialled);
        case Happened::ConnectionFound:
            return std::string(kConnectionFound);
        case Happened::NoConnectionLeft:
            return std::string(kNoConnectionLeft);
        case Happened::HungUp:
            return std::string(kHungUp) + n;
        case Happened::TimeLimitReached:
            return std::string(kTimeLimitReached) + n + std::string(kTimeLimitWait) + d;
        case Happened::StoppedByUser:
            return std::string(kStoppedByUser);
        case Happened::StoppedAfterFailure:
            return std::string(kStoppedAfterFailure) + n;
        case Happened::ScriptUnreadable:
            return std::string(kScriptUnreadable) + d;
        case Happened::WrongSwitch:
            return std::string(kWrongSwitch) + d;
        case Happened::DownloadedScriptRun:
        case Happened::DownloadedScriptRefused:
            return std::string(kDownloadedScript) + n + std::string(kDownloadedScriptOrigin) + d +
                   std::string(what == Happened::DownloadedScriptRun ? kDownloadedScriptRun
                                                                     : kDownloadedScriptRefused);
    }
    return {};
}

// The parameters after the script, as they were given.
std::string SwitchesGiven() {
    std::string given;
    for (std::size_t index = 2; index < runState.Parameters.size(); ++index) {
        const std::string& parameter = runState.Parameters[index];
        const bool blank = parameter.find(' ') != std::string::npos;
        given += (given.empty() ? "" : " ") + (blank ? "\"" + parameter + "\"" : parameter);
    }
    return given;
}

std::string Header() {
    using namespace texts;
    const std::string switches = SwitchesGiven();
    return std::string(kJournalStart) + SKERVO_VERSION + " (" + std::to_string(8 * sizeof(void*)) +
           std::string(kJournalBits) + ComputerNames() + std::string(kJournalUser) + AccountName() +
           std::string(kJournalScript) + ScriptFullPath() +
           (switches.empty() ? "" : std::string(kJournalSwitches) + switches);
}

// [PC-COMPTA 4242]: the PC and the process that wrote each entry. Appended
// piece by piece: GCC 12 takes "[" + a temporary string for an overlapping
// copy (-Wrestrict) at -O3.
std::string RunMark() {
    std::string mark = "[";
    mark.append(platform::GetComputerNameA())
        .append(" ")
        .append(std::to_string(platform::GetCurrentProcessId()))
        .append("]");
    return mark;
}

// With an administrator's rights, entries go only into a plain file that
// trusted accounts alone may change: through a link, or into a file that
// others could swap for one, they would land in any file of the PC.
bool MayWriteWithTheseRights(const JournalFile& file, const std::string& path) {
    const std::wstring fullPath = FullPathInUtf16(path);
    if (!IsPlainFileAt(file.Handle(), fullPath)) {
        runState.Journal.refusal = std::string(texts::kJournalNotPlainFile);
        return false;
    }
    const TrustVerdict verdict = TrustOfFile(fullPath);
    runState.Journal.refusal = TrustReason(verdict);
    return verdict.trust == Trust::OnlyTrusted;
}

// Opened, and with an administrator's rights found to be where it may be
// written.
bool OpenJournal(const std::string& path) {
    JournalState& journal = runState.Journal;
    const bool elevated = runState.Token.elevated;
    const bool opened =
        journal.file.Open(path, elevated ? JournalFile::Creation::UnderItsOwnName
                                         : JournalFile::Creation::WhereThePathLeads);
    // Under its own name, a file that can be neither opened nor created is
    // a link that leads nowhere.
    if (elevated && !opened && journal.file.Error() == platform::kErrorFileNotFound) {
        journal.refusal = std::string(texts::kJournalNotPlainFile);
    }
    if (!opened || (elevated && !MayWriteWithTheseRights(journal.file, path))) {
        journal.file.Close();
        return false;
    }
    return true;
}

}  // namespace

std::string ScriptFullPath() {
    return runState.Parameters.size() > 1 ? platform::GetFullPathNameA(runState.Parameters[1]) : "";
}

std::string RunDuration() {
    const std::int64_t milliseconds = runState.Journal.since.Elapsed();
    return std::to_string(milliseconds / 1000) + "," + std::to_string(milliseconds / 100 % 10);
}

// Only a journal found where it may be written is set aside, and the one
// that follows is found there in turn.
bool StartJournal() {
    JournalState& journal = runState.Journal;
    const std::string& path = runState.Switches.journalPath;
    if (path.empty()) {
        return true;
    }
    journal.since = Stopwatch();
    journal.runMark = RunMark();
    if (!OpenJournal(path) || (SetAsideWhenTooLarge(journal.file, path) && !OpenJournal(path))) {
        runState.Outcome.couldNotStart = true;
        return false;
    }
    Write(Header());
    return true;
}

std::string WhyNoJournal() {
    const JournalState& journal = runState.Journal;
    return journal.refusal.empty() ? SystemErrorText(journal.file.Error()) : journal.refusal;
}

void JournalLine(int number, std::string_view line) {
    SetContext(std::string(texts::kJournalLine) + std::to_string(number) + " : " +
               std::string(line));
}

void JournalEndOfScript() {
    SetContext(std::string(texts::kJournalEndOfScript));
}

void Tell(Happened what, std::int64_t number, std::string_view detail) {
    if (IsFailure(what)) {
        runState.Outcome.lineFailed = true;
    }
    if (what == Happened::TimeLimitReached) {
        runState.Outcome.timeLimitReached = true;
    }
    WriteInContext(Words(what, number, detail));
}

// A run that could not start carried out no line, whatever its box says.
void TellBox(std::string_view caption, std::string_view text, bool error) {
    if (error && !runState.Outcome.couldNotStart) {
        runState.Outcome.lineFailed = true;
    }
    WriteInContext(std::string(texts::kJournalBox) + std::string(caption) +
                   std::string(texts::kJournalBoxText) + std::string(text));
}

void EndJournal(std::uint32_t exitCode, std::string_view howItEnded) {
    using namespace texts;
    const std::string ending =
        runState.Outcome.interrupted ? std::string(kJournalInterrupted) : std::string(howItEnded);
    Write(std::string(kJournalEnd) + (ending.empty() ? "" : ending + ", ") +
          std::string(kJournalDuration) + RunDuration() + std::string(kJournalFailedLines) +
          std::to_string(FailedLineCount()) + std::string(kJournalExitCode) +
          std::to_string(exitCode) + std::string(kJournalScript) + ScriptFullPath());
}

}  // namespace skervo
