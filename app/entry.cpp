#include "app/entry.h"

#include "app/command_line.h"
#include "app/file_association.h"
#include "common/program_error.h"
#include "common/run_state.h"
#include "dialup/ras_binding.h"
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
    ShowStep(texts::kFinished, false);
    PollMessages();
    platform::Sleep(kFinalDisplayMilliseconds);
}

}  // namespace

// A binding error of the remote-access functions is the only one raised, and
// nothing in the run catches it.
int RunProgram() try {
    LoadParameters();
    if (HandleAssociationSwitch()) {
        return 0;
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
    ReleaseRasLibrary();
    return 0;
} catch (const ProgramError& error) {
    EndWithUnhandledError(error);
}

}  // namespace skervo
