#include "app/entry.h"

#include <optional>

#include "app/command_line.h"
#include "app/file_association.h"
#include "app/run_switches.h"
#include "common/run_state.h"
#include "common/system_error.h"
#include "common/system_files.h"
#include "journal/journal.h"
#include "platform/kernel.h"
#include "script/script_runner.h"
#include "script/variables.h"
#include "ui/message_pump.h"
#include "ui/notices.h"
#include "ui/session_end.h"
#include "ui/status_window.h"
#include "ui/texts.h"
#include "ui/unhandled_error.h"

namespace skervo {
namespace {

// Long enough for the final step to be seen.
constexpr std::uint32_t kFinalDisplayMilliseconds = 500;

// /Register or /Unregister as the only parameter, or with /Silent for a
// deployment script, which learns the outcome from the exit code alone.
std::optional<std::uint32_t> HandleAssociationSwitch() {
    const int count = ParameterCount();
    const bool silent = count == 2 && HasSwitch("SILENT");
    if (count != 1 && !silent) {
        return std::nullopt;
    }
    const Telling telling = silent ? Telling::NotAtAll : Telling::InABox;
    std::optional<AssociationOutcome> outcome;
    if (HasSwitch("REGISTER")) {
        outcome = RegisterFileType(telling);
    } else if (HasSwitch("UNREGISTER")) {
        outcome = UnregisterFileType(telling);
    }
    if (!outcome) {
        return std::nullopt;
    }
    return silent ? static_cast<std::uint32_t>(*outcome) : 0;
}

// A journal that cannot be written stops the run before its first line:
// an unattended run would leave no trace. Nobody would see a box in a
// silent run.
bool JournalStarted() {
    if (StartJournal()) {
        return true;
    }
    ShowError(std::string(texts::kCannotWriteJournal) + runState.Switches.journalPath +
              std::string(texts::kCannotWriteJournalBecause) + WhyNoJournal());
    return false;
}

void ShowFinalStep() {
    runState.PreviousStepText.clear();
    ShowStep(texts::kFinished, StepChange::SameStep);
    PollMessages();
    platform::Sleep(kFinalDisplayMilliseconds);
}

}  // namespace

// The process ends through ExitProcess, never by returning: a dial's
// notification may still run on the platform's thread, and returning would
// destroy the run state under it.
void RunProgram() {
    RestrictSearchPaths();
    runState.Token = ReadOwnToken();
    LoadParameters();
    if (const std::optional<std::uint32_t> exitCode = HandleAssociationSwitch()) {
        platform::ExitProcess(*exitCode);
    }
    runState.Switches = ReadRunSwitches(runState.Parameters);
    // One journal per computer: /Journal:\\serveur\journaux\%COMPUTERNAME%.log.
    runState.Switches.journalPath = ExpandVariables(runState.Switches.journalPath).text;
    runState.UseStatusWindow = !runState.Switches.silent && ParameterCount() >= 1;
    // Nobody would answer the system's own boxes (« Aucun disque ») in a
    // silent run: the call that would ask fails instead.
    if (runState.Switches.silent) {
        platform::SetErrorMode(platform::kSemFailCriticalErrors | platform::kSemNoOpenFileErrorBox);
    }
    if (!JournalStarted()) {
        EndProcessNormally();
    }
    if (runState.UseStatusWindow) {
        CreateStatusWindow();
    } else if (runState.Switches.run) {
        CreateSessionWindow();
    }
    RunScript();
    ShowFinalStep();
    if (runState.UseStatusWindow) {
        TearDownStatusWindow();
    }
    EndProcessNormally();
}

}  // namespace skervo
