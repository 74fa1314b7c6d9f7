#include "app/entry.h"

#include "app/command_line.h"
#include "app/file_association.h"
#include "common/run_state.h"
#include "platform/kernel.h"
#include "script/script_runner.h"
#include "ui/message_pump.h"
#include "ui/status_window.h"
#include "ui/texts.h"
#include "ui/unhandled_error.h"

namespace skervo {
namespace {

// Long enough for the final step to be seen.
constexpr std::uint32_t kFinalDisplayMilliseconds = 500;

// /Register or /Unregister as the only parameter; true when one was handled.
bool HandleAssociationSwitch() {
    if (ParameterCount() != 1) {
        return false;
    }
    if (HasSwitch("REGISTER")) {
        RegisterFileType();
        return true;
    }
    if (HasSwitch("UNREGISTER")) {
        UnregisterFileType();
        return true;
    }
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
    LoadParameters();
    if (HandleAssociationSwitch()) {
        platform::ExitProcess(0);
    }
    runState.UseStatusWindow = !HasSwitch("SILENT") && ParameterCount() >= 1;
    if (runState.UseStatusWindow) {
        CreateStatusWindow();
    }
    RunScript();
    ShowFinalStep();
    if (runState.UseStatusWindow) {
        TearDownStatusWindow();
    }
    EndProcessNormally();
}

}  // namespace skervo
