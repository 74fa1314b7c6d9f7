#include "script/connection_commands.h"

#include <string>
#include <string_view>

#include "common/poll_intervals.h"
#include "common/run_state.h"
#include "common/system_files.h"
#include "common/wait_limit.h"
#include "dialup/count_connections.h"
#include "dialup/dial_entry.h"
#include "dialup/hang_up_all.h"
#include "journal/journal.h"
#include "platform/kernel.h"
#include "platform/user.h"
#include "programs/launcher.h"
#include "script/connection_forms.h"
#include "ui/message_pump.h"
#include "ui/notices.h"
#include "ui/texts.h"

namespace skervo {
namespace {

// The platform's dial-up dialog: the program, what follows its path, and
// whether the entry's name goes in quotes. rasphone.exe takes one argument
// after -d, so a name with blanks must be quoted to reach it whole; rundll32
// hands the rest of its command line to RnaDial as the name.
struct DialogProgram {
    std::string_view fileName;
    std::string_view arguments;
    bool quotedName;
    std::string_view notFound;
};
constexpr DialogProgram kNtDialog{"rasphone.exe", " -d ", true, texts::kRasphoneNotFound};
constexpr DialogProgram kOtherDialog{"rundll32.exe", " rnaui.dll,RnaDial ", false,
                                     texts::kRundll32NotFound};

// Appended, not "\"" + a temporary: GCC 12 at -O3 takes that for an
// overlapping copy (-Wrestrict).
std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    quoted.append(text).append("\"");
    return quoted;
}

// &&x: dials only when the entry differs from the one named last (letter case counts).
void DialAutomatically(std::string_view name) {
    if (name.empty() || name == runState.ConnectionName) {
        Tell(Happened::AlreadyDialled);
        return;
    }
    runState.ConnectionName = name;
    Tell(Happened::DialStarted);
    DialEntry();
    PollMessages();
}

// &-: the first count is made at once.
void WaitForConnection() {
    ShowStep(texts::kWaitingForConnection);
    if (!PollMessages()) {
        return;
    }
    WaitLimit limit;
    for (std::optional<std::int32_t> count; (count = CountConnections()) && *count == 0;) {
        if (!PollMessages() || limit.Reached()) {
            return;
        }
        platform::Sleep(kPollIntervalMilliseconds);
    }
    if (runState.ConnectionUp) {
        Tell(Happened::ConnectionFound);
    }
}

// &>: sleeps before every count, also when no connection exists. The window
// is hidden only while the notification icon offers the way back to it.
void WaitForNoConnection(bool hideRequested) {
    ShowStep(texts::kWaitingForNoConnection);
    const bool hide = hideRequested && runState.TrayIconPresent;
    if (hideRequested && !hide) {
        Tell(Happened::NoStatusWindow);
    }
    if (hide) {
        if (!PollMessages()) {
            return;
        }
        platform::Sleep(kDisconnectionPollMilliseconds);
        platform::ShowWindow(runState.StatusWindowHandle, platform::kSwHide);
    }
    WaitLimit limit;
    while (PollMessages() && !limit.Reached()) {
        platform::Sleep(kDisconnectionPollMilliseconds);
        const std::optional<std::int32_t> count = CountConnections();
        if (!count) {
            break;  // refused, and said so once
        }
        if (*count == 0) {
            Tell(Happened::NoConnectionLeft);
            break;
        }
    }
    if (hide) {
        platform::ShowWindow(runState.StatusWindowHandle, platform::kSwShow);
    }
}

// &x: the dialog runs on its own; a script that must wait for the connection follows with &-.
void OpenDialDialog(std::string_view name) {
    if (!FitsTheDialogsCommandLine(name)) {
        ShowError(std::string(texts::kCannotConnect) + std::string(name));
        return;
    }
    const DialogProgram& dialog = runState.IsNT ? kNtDialog : kOtherDialog;
    const std::string path = FindSystemProgram(dialog.fileName);
    if (path.empty()) {
        ShowError(dialog.notFound);
        return;
    }
    runState.ConnectionName = name;
    const bool quoted = dialog.quotedName && !name.empty();
    // Quoted, a path with blanks cannot start C:\Program.exe instead.
    LaunchOrReport(
        Quoted(path) + std::string(dialog.arguments) + (quoted ? Quoted(name) : std::string(name)),
        {.dialDialog = true});
}

}  // namespace

void RunConnectionCommand(std::string_view line) {
    const ConnectionForm form = RecogniseConnection(line);
    switch (form.command) {
        case ConnectionCommand::AutomaticDial:
            DialAutomatically(form.entry);
            break;
        case ConnectionCommand::WaitForConnection:
            WaitForConnection();
            break;
        case ConnectionCommand::HangUpAll:
            HangUpAll();
            break;
        case ConnectionCommand::WaitForNoConnection:
            WaitForNoConnection(form.window == StatusWindowDuringWait::Hidden);
            break;
        case ConnectionCommand::DialogDial:
            OpenDialDialog(form.entry);
            break;
    }
}

}  // namespace skervo
