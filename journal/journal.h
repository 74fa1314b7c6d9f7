#pragma once
// The record of a run that /Journal:FICHIER appends to a file: a header, an
// entry for each thing a line did, every box, and a closing line. The run
// tells it what happened; the words are chosen here. Whether or not there is
// a journal, what the run tells also makes its outcome (common/exit_code.h).
#include <cstdint>
#include <string>
#include <string_view>

namespace skervo {

enum class Happened {
    Started,              // number: the process id
    Ended,                // number: its exit code, 0 or one that means success
    EndedInFailure,       // number: its exit code
    EndedRestartNeeded,   // number: 3010
    EndedRestartStarted,  // number: 1641
    NotStarted,           // detail: why
    CarriedOutAs,         // detail: the line once its variables are replaced
    OpenedByShell,
    ServiceStarted,
    ServiceStopped,
    ServiceAlreadyRunning,
    ServiceAlreadyStopped,
    ServiceStartSent,
    ServiceStopSent,
    ServiceRefused,   // detail: why
    ServiceFailed,    // detail: why
    WindowsClosed,    // number: how many were asked to close
    ProcessesKilled,  // number
    NothingToClose,
    ProcessRefused,  // number: the process id; detail: why
    WindowRefused,   // detail: why
    Paused,          // number: seconds
    PauseSkipped,
    EndNotWaitedFor,      // an @ program on the last line
    StillRunning,         // at the end of the run; number: its process id; detail: the program
    EndedAfterTimeLimit,  // since the time limit; number: its exit code; detail: the program
    WindowHidden,
    WindowShown,
    NoStatusWindow,
    DialStarted,
    AlreadyDialled,
    ConnectionFound,
    NoConnectionLeft,
    HungUp,            // number: how many
    TimeLimitReached,  // number: the limit in seconds; detail: the wait
    StoppedByUser,
    StoppedAfterFailure,      // number: the line
    ScriptUnreadable,         // detail: why
    WrongSwitch,              // detail: the parameter
    DownloadedScriptRun,      // number: its zone; detail: where from
    DownloadedScriptRefused,  // the same
};

// Opens the journal the switches name, when they name one, and writes the
// run's header; false when it cannot be written.
bool StartJournal();
// Why the journal could not be opened or may not be written, in the words
// of its box.
std::string WhyNoJournal();

// The entries that follow belong to this script line.
void JournalLine(int number, std::string_view line);
// The entries that follow belong to the end of the script.
void JournalEndOfScript();

void Tell(Happened what, std::int64_t number = 0, std::string_view detail = {});
// A message box the run shows, or writes here instead of showing it.
void TellBox(std::string_view caption, std::string_view text, bool error);

// The closing line, with the exit code the process ends with and the
// script again, so that the one line says everything: « Fin : durée
// 601,9 s, lignes en échec : 2, code de sortie 2, script C:\nuit.skervo ».
// A run that ended before its end says how first (« interrompue »).
void EndJournal(std::uint32_t exitCode, std::string_view howItEnded = {});

// What the closing line and the event log both give: the script's full
// path, and the run's length in seconds to the tenth, with the French
// decimal comma (601,9).
std::string ScriptFullPath();
std::string RunDuration();

}  // namespace skervo
