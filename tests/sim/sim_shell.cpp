// The notification area of the simulated desktop.
#include "platform/shell.h"
#include "tests/sim/desktop.h"

namespace skervo::platform {

using sim::desktop;

bool Shell_NotifyIconA(std::uint32_t message, const NotifyIconRecord& record) {
    switch (message) {
        case kNimAdd:
            if (desktop.trayAddSucceeds) {
                desktop.trayIcon = record;
            }
            return desktop.trayAddSucceeds;
        case kNimModify:
            if (!desktop.trayIcon) {
                return false;
            }
            desktop.trayIcon->tip = record.tip;
            ++desktop.trayModifications;
            return true;
        case kNimDelete:
            if (!desktop.trayIcon || desktop.trayIcon->window != record.window) {
                return false;
            }
            desktop.trayIcon.reset();
            return true;
    }
    return false;
}

}  // namespace skervo::platform
