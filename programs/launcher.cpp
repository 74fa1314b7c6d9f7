#include "programs/launcher.h"

#include <string>

#include "ui/notices.h"
#include "ui/texts.h"

namespace skervo {

// Not built yet: no program is started, so every launch reports failure.
bool LaunchCommand(std::string_view /*text*/, bool /*wait*/, bool /*dial*/) {
    return false;
}

void LaunchOrReport(std::string_view text, bool wait, bool dial) {
    if (!LaunchCommand(text, wait, dial)) {
        ShowError(std::string(texts::kCannotRun) + std::string(text));
    }
}

bool TryLaunch(std::string_view text) {
    return LaunchCommand(text, false, false);
}

}  // namespace skervo
