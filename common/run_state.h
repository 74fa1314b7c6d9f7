#pragma once
// The one run a process carries out, in process-wide storage.
#include <array>
#include <atomic>
#include <optional>
#include <cstdint>
#include <string>
#include <vector>

#include "common/own_token.h"
#include "common/stopwatch.h"
#include "journal/journal_file.h"
#include "platform/gdi.h"
#include "platform/kernel.h"
#include "platform/shell.h"
#include "platform/types.h"

namespace skervo {

// An application to close at the end of the run; thread id 0 means terminate.
struct StartedApp {
    platform::OwnedHandle process;
    std::uint32_t processId = 0;
    std::uint32_t threadId = 0;
};

// A program awaited by @ that was still running when the time limit was
// reached; its handle is kept to tell, at the end of the run, what became of it.
struct ProgramLeftRunning {
    StartedApp program;
    std::string name;
};

// The process-listing functions, bound by name at their first use and kept
// for the life of the process.
struct ProcessListingFunctions {
    platform::ModuleHandle kernel{};
    platform::ProcAddress createSnapshot{};
    platform::ProcAddress process32First{};
    platform::ProcAddress process32Next{};
    platform::ProcAddress queryFullProcessImageName{};
    platform::ProcAddress processIdToSessionId{};
    platform::ModuleHandle psapi{};
    platform::ProcAddress enumProcesses{};
    platform::ProcAddress enumProcessModules{};
    platform::ProcAddress getModuleFileNameEx{};
};

// The remote-access library chosen by the first lookup, kept for the process.
// Written on the main thread before any dial; a dial's notification thread
// only reads it.
struct RasBinding {
    bool bound = false;
    bool secondLibrary = false;  // rnaph.dll, whose names have no suffix
    platform::ModuleHandle library{};
};

// How the process is ending, when a thread has begun to end it.
enum class ProcessEnding {
    NotYet,
    Normally,
    UnhandledErrorShowing,  // its box is up
    UnhandledErrorShown,
};

// The switches after the script that choose how a run goes.
struct RunSwitches {
    bool silent = false;                 // /Silent: no status window and no icon
    std::string journalPath;             // /Journal:FICHIER
    std::uint32_t timeLimitSeconds = 0;  // /Delai:SECONDES; 0 for no limit
    bool stopAtFailure = false;          // /Arret: the first failed line ends the script
    // /Journal, /Delai or /Arret is among the parameters: the exit code tells how the run went.
    bool unattended = false;
    // The command line asks for a run, not for the usage text.
    bool run = false;
    // With the run's switches, the first parameter that is none of them, or
    // one given twice or with a wrong value: the journal names it.
    std::string wrongSwitch;
};

// What the run has come to, for its exit code. A dial's notification
// thread may report a failure while the run goes on.
struct RunOutcome {
    std::atomic<int> failedLines = 0;
    std::atomic<bool> lineFailed = false;  // the line under way
    std::atomic<bool> timeLimitReached = false;
    bool couldNotStart = false;  // the script or the journal could not be opened
    bool interrupted = false;    // the Windows session ended during the run
};

// The journal of the run, when the switches name one.
struct JournalState {
    JournalFile file;
    std::string runMark;  // tells this run's entries from other runs'
    std::string context;  // the line the entries belong to; guarded by contextLock
    platform::CriticalSection contextLock;
    Stopwatch since;
    std::atomic<bool> incomplete = false;  // an entry could not be written
    std::string refusal;                   // why it may not be written where it is
};

struct RunState {
    // Parameter 0 is the program's own path; the script is parameter 1.
    std::vector<std::string> Parameters;
    // The script's path from the UTF-16 command line, when the 8-bit one is
    // not exact; empty otherwise.
    std::wstring ScriptWidePath;
    RunSwitches Switches;
    OwnToken Token;
    bool UseStatusWindow = false;

    std::string ScriptLine;
    bool ClosingCommand = false;
    bool NoConfirmation = false;
    // 64 bits, so that any 32-bit count of seconds is a pause of its full length.
    std::int64_t PauseMilliseconds = 0;
    bool IsNT = false;
    std::string ConnectionName;
    // Written by the dial notification's thread while the status window paints.
    std::atomic<bool> ConnectionUp = false;
    // The automatic dials under way (connection handles; 0 for a free place),
    // which the dial and its notification's thread both look after.
    std::array<std::atomic<std::uintptr_t>, 16> DialsUnderWay{};
    // The failed dials hung up last, the oldest overwritten first.
    std::array<std::atomic<std::uintptr_t>, 16> DialsHungUp{};
    std::atomic<std::uint32_t> NextHungUpDial = 0;
    std::vector<StartedApp> StartedApps;
    std::vector<ProgramLeftRunning> ProgramsLeftRunning;
    bool StopRequested = false;

    std::string StepText;
    std::string PreviousStepText;

    platform::WindowHandle StatusWindowHandle{};
    platform::WindowHandle SessionWindowHandle{};        // a silent run's hidden window
    std::optional<std::uint32_t> SessionWindowPolledAt;  // the tick count when it last was
    // The icon may be removed by a dial notification's thread on its way out
    // (an unhandled error) while the run sets its tip: the record and the
    // icon's calls are taken in turns.
    std::atomic<bool> TrayIconPresent = false;
    platform::CriticalSection TrayIconLock;
    platform::NotifyIconRecord TrayIconData{};
    platform::OwnedBitmap BackgroundBitmap;
    platform::BitmapRecord BackgroundSize{};  // read once, when the picture is loaded
    platform::OwnedBitmap ConnectionBitmap;
    platform::OwnedFont TextFont;

    RunOutcome Outcome;
    JournalState Journal;

    // A dial's notification thread may end the process while the run goes on.
    std::atomic<ProcessEnding> Ending = ProcessEnding::NotYet;

    ProcessListingFunctions ProcessListing;
    RasBinding Ras;
};

extern RunState runState;

// A silent run (/Silent): no status window, no notification icon, and
// nothing that stops it before its end. Its message boxes still show.
inline bool IsSilentRun() {
    return !runState.UseStatusWindow;
}

}  // namespace skervo
