// The automatic dial of the entry the script named, and its progress.
#include "dialup/dial_entry.h"

#include <string>

#include "common/run_state.h"
#include "dialup/count_connections.h"
#include "dialup/dials_under_way.h"
#include "dialup/ras_error_text.h"
#include "dialup/ras_functions.h"
#include "ui/message_pump.h"
#include "ui/notices.h"
#include "ui/texts.h"

namespace skervo {
namespace {

// An error-free notification refreshes ConnectionUp; an error is shown, once
// the failed dial has given its port back.
void ReportDialProgress(std::uint32_t error) {
    if (error == 0) {
        CountConnections();
        return;
    }
    HangUpFailedDials();
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
    ShowStep(std::string(texts::kDialling) + runState.ConnectionName);
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
    // The handle is kept only until the dial has connected or failed: later
    // operations find the connection by enumeration.
    platform::RasConnectionHandle dial{};
    const std::uint32_t code = RasDial(parameters, DialNotification, dial);
    if (code == 0) {
        FollowDial(dial);
        return;
    }
    // A refused dial may hold a port all the same.
    if (!platform::IsNull(dial)) {
        RasHangUp(dial);
    }
    ShowError(std::string(texts::kCannotDial) + std::to_string(code) + ")");
}

// An error raised here (a function missing from the library) ends the
// program from the platform's thread, as it would from the run's.
void DialNotification(std::uint32_t, std::uint32_t, std::uint32_t error) {
    ReportDialProgress(error);
}

}  // namespace skervo
