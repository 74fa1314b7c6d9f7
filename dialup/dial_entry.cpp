// The automatic dial of the entry the script named, and its progress.
#include <string>

#include "common/program_error.h"
#include "common/run_state.h"
#include "dialup/connection_operations.h"
#include "dialup/ras_error_text.h"
#include "dialup/ras_functions.h"
#include "ui/message_pump.h"
#include "ui/notices.h"
#include "ui/texts.h"
#include "ui/unhandled_error.h"

namespace skervo {
namespace {

// An error-free notification refreshes ConnectionUp; an error is shown.
void ReportDialProgress(std::uint32_t error) {
    if (error == 0) {
        CountConnections();
        return;
    }
    const std::optional<std::string> text = RasErrorText(error);
    if (!text) {
        ShowError(texts::kDialErrorWithoutText);
        return;
    }
    ShowError(std::string(texts::kDialErrorStart) + std::to_string(error) +
              std::string(texts::kDialErrorMiddle) + *text);
}

}  // namespace

void DialEntry() {
    ShowStep(std::string(texts::kDialling) + runState.ConnectionName, true);
    // No phone-book entry can have a name longer than the record holds: cutting
    // the name could dial another entry, so the entry is unknown.
    if (runState.ConnectionName.size() > platform::kRasMaxEntryName) {
        ShowError(texts::kUnknownConnection);
        return;
    }
    platform::RasDialParameters parameters;
    parameters.entryName = runState.ConnectionName;
    bool passwordStored = false;
    if (RasGetEntryDialParams(parameters, passwordStored) != 0) {
        ShowError(texts::kUnknownConnection);
        return;
    }
    // The handle is not kept: later operations find the connection by enumeration.
    platform::RasConnectionHandle connection{};
    const std::uint32_t code = RasDial(parameters, DialNotification, connection);
    if (code != 0) {
        ShowError(std::string(texts::kCannotDial) + std::to_string(code) + ")");
    }
}

// The platform's thread cannot carry an error back to the run, so one raised
// here (a function missing from the library) ends the program at once.
void DialNotification(std::uint32_t, std::uint32_t, std::uint32_t error) {
    try {
        ReportDialProgress(error);
    } catch (const ProgramError& raised) {
        EndWithUnhandledError(raised);
    }
}

}  // namespace skervo
