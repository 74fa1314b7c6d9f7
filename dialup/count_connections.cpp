// Counting the connections that are fully connected.
#include "dialup/count_connections.h"

#include <string>

#include "common/run_state.h"
#include "dialup/connection_list.h"
#include "dialup/dials_under_way.h"
#include "dialup/ras_error_text.h"
#include "dialup/ras_functions.h"
#include "ui/notices.h"
#include "ui/texts.h"

namespace skervo {
namespace {

void ReportRefusedEnumeration(std::uint32_t code) {
    const std::optional<std::string> text = RasErrorText(code);
    if (!text) {
        ShowError(texts::kErrorCodeWithoutText);
        return;
    }
    ShowError(std::string(texts::kEnumeratingConnections) + std::to_string(code) + ")\n\n" + *text);
}

// A connection still dialling or authenticating does not count.
std::int32_t CountConnected(const std::vector<platform::RasConnectionHandle>& handles) {
    std::int32_t count = 0;
    for (const platform::RasConnectionHandle handle : handles) {
        platform::RasConnectionStatus status;
        if (RasGetConnectStatus(handle, status) != 0) {
            // A failed dial that the notification thread hung up meanwhile has merely ended.
            if (!WasHungUpAsFailed(handle)) {
                ShowError(texts::kConnectionStatus);
            }
        } else if (status.state == platform::kRasCsConnected) {
            ForgetHungUpDial(handle);
            ++count;
        }
    }
    return count;
}

}  // namespace

std::optional<std::int32_t> CountConnections() {
    const ConnectionList list = EnumerateConnections();
    if (list.code != 0) {
        runState.ConnectionUp = false;
        ReportRefusedEnumeration(list.code);
        return std::nullopt;
    }
    const std::int32_t count = CountConnected(list.handles);
    runState.ConnectionUp = count > 0;
    return count;
}

}  // namespace skervo
