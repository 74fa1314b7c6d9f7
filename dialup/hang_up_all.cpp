// Hanging up every connection.
#include "dialup/hang_up_all.h"

#include <string>

#include "dialup/connection_list.h"
#include "dialup/count_connections.h"
#include "dialup/dials_under_way.h"
#include "dialup/ras_functions.h"
#include "journal/journal.h"
#include "ui/message_pump.h"
#include "ui/notices.h"
#include "ui/texts.h"

namespace skervo {

void HangUpAll() {
    ShowStep(texts::kHangingUp);
    PollMessages();
    const ConnectionList list = EnumerateConnections();
    if (list.code != 0) {
        ShowError(std::string(texts::kEnumeratingConnections) + std::to_string(list.code) + ")");
        return;
    }
    int hungUp = 0;
    for (const platform::RasConnectionHandle handle : list.handles) {
        ForgetDial(handle);
        if (RasHangUp(handle) != 0) {
            ShowError(texts::kCannotHangUp);
        } else {
            ++hungUp;
        }
    }
    Tell(Happened::HungUp, hungUp);
    CountConnections();  // refreshes ConnectionUp
}

}  // namespace skervo
