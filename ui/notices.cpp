#include "ui/notices.h"

#include <algorithm>
#include <mutex>
#include <string>

#include "common/run_state.h"
#include "common/text_rules.h"
#include "journal/journal.h"
#include "platform/shell.h"
#include "platform/user.h"
#include "ui/texts.h"

namespace skervo {
namespace {

// MessageBoxA passes its text on as a counted Unicode string, which holds at
// most 32,766 characters and its zero: a longer text (a script line of 40,000
// characters that cannot run) garbles the box or brings the process down.
constexpr std::size_t kLongestBoxText = 32766;

// Nobody is there to press OK: a silent run with a journal.
bool BoxesGoToJournalAlone() {
    return runState.Switches.silent && !runState.Switches.journalPath.empty();
}

void ShowBox(std::string_view text, std::uint32_t icon) {
    PresentBox(text.substr(0, kLongestBoxText), texts::kCaption, icon);
}

// A box's own lines end in CR LF; any other control byte came from a script
// or a stream.
std::string Shown(std::string_view text) {
    return WithControlsShown(text, "\t\r\n");
}

// A silent run with a time limit may have nobody to press OK: its box
// closes by itself once the limit has passed, and its line then counts as
// failed.
void ShowBoxAtMostTheTimeLimit(std::string_view text, std::string_view caption,
                               std::uint32_t style) {
    if (platform::MessageBoxTimeoutA(Shown(text), std::string(caption), style,
                                     runState.Switches.timeLimitSeconds * 1000) ==
        platform::kMbTimedOut) {
        runState.Outcome.lineFailed = true;
    }
}

}  // namespace

void SetTrayTip(std::string_view text) {
    const std::lock_guard lock(runState.TrayIconLock);
    if (!runState.TrayIconPresent) {
        return;
    }
    platform::NotifyIconRecord& record = runState.TrayIconData;
    // The tip field holds 127 characters and its zero: a longer tip is cut.
    const std::string_view tip = text.substr(0, record.tip.size() - 1);
    // The runner sets the same tip for every line: once the icon shows it,
    // asking again would cost a call to the notification area per line.
    if (record.flags == platform::kNifTip && std::string_view(record.tip.data()) == tip) {
        return;
    }
    record.flags = platform::kNifTip;
    std::copy(tip.begin(), tip.end(), record.tip.begin());
    record.tip[tip.size()] = '\0';
    if (!platform::Shell_NotifyIconA(platform::kNimModify, record)) {
        record.tip[0] = '\0';  // the icon kept its old tip: the next line tries again
    }
}

void PresentBox(std::string_view text, std::string_view caption, std::uint32_t style) {
    TellBox(caption, text, (style & platform::kMbIconError) == platform::kMbIconError);
    if (BoxesGoToJournalAlone()) {
        return;
    }
    if (runState.Switches.silent && runState.Switches.timeLimitSeconds > 0) {
        ShowBoxAtMostTheTimeLimit(text, caption, style);
    } else {
        platform::MessageBoxA(platform::WindowHandle{}, Shown(text), std::string(caption), style);
    }
}

bool AskYesNo(std::string_view text) {
    TellBox(texts::kCaption, text, false);
    return platform::MessageBoxA(
               platform::WindowHandle{}, Shown(text), std::string(texts::kCaption),
               platform::kMbYesNo | platform::kMbIconWarning | platform::kMbDefButton2) ==
           platform::kIdYes;
}

void ShowNotice(std::string_view text) {
    ShowBox(text, platform::kMbIconInformation);
}

void ShowError(std::string_view text) {
    ShowBox(std::string(texts::kErrorPrefix) + std::string(text), platform::kMbIconError);
}

}  // namespace skervo
