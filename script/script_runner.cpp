#include "script/script_runner.h"

#include <string>

#include "common/files.h"
#include "common/final_path.h"
#include "common/run_state.h"
#include "common/system_error.h"
#include "common/text_rules.h"
#include "common/windows_family.h"
#include "journal/journal.h"
#include "journal/journal_texts.h"
#include "platform/kernel.h"
#include "platform/user.h"
#include "programs/application_closing.h"
#include "programs/default_action.h"
#include "programs/launcher.h"
#include "script/connection_commands.h"
#include "script/count.h"
#include "script/download_mark.h"
#include "script/elevated_script.h"
#include "script/end_of_run.h"
#include "script/line_recognition.h"
#include "script/pause.h"
#include "script/script_reader.h"
#include "script/variables.h"
#include "ui/message_pump.h"
#include "ui/notices.h"
#include "ui/texts.h"

namespace skervo {
namespace {

void StartRun() {
    runState.ConnectionName.clear();
    runState.StopRequested = false;
    runState.StartedApps.clear();
    runState.IsNT = IsWindowsNT();
}

// A pause is told by the line as written: a count from a variable names a
// program, as the written line does.
void PauseOrWait(std::string_view written, std::string_view rest, bool lastLine) {
    if (const auto seconds = PauseSeconds(written)) {
        runState.PauseMilliseconds = std::int64_t{*seconds} * 1000;
        // A pause on the last line would only delay the end.
        Tell(lastLine ? Happened::PauseSkipped : Happened::Paused, *seconds);
        if (!lastLine) {
            RunPause(rest);
        }
    } else if (LaunchOrReport(rest, {.waitForEnd = !lastLine}) && lastLine) {
        Tell(Happened::EndNotWaitedFor);
    }
}

void ShowOrHideWindow(int command) {
    // Hidden only while the icon offers the way back.
    if (!runState.TrayIconPresent) {
        Tell(Happened::NoStatusWindow);
        return;
    }
    platform::ShowWindow(runState.StatusWindowHandle, command);
    Tell(command == platform::kSwHide ? Happened::WindowHidden : Happened::WindowShown);
}

// A line naming an existing folder, or a file that is no program, goes
// straight to its default action, as a double-click would: the system runs
// any executable whatever its extension (a rapport.pdf replaced by a
// program). Quotes around the whole name are the script's, not the name's.
// The shell is asked for anything else the launcher could not start
// (\\serveur), but never for a stream of a file. The reason the journal
// gives for a line tried as a program is the program's.
void RunPlainLine(const std::string& line) {
    const std::string path(Unquoted(line));
    const bool document = NamesDocumentOrFolder(path);
    LaunchOutcome launch;
    if (!document && (launch = TryLaunch(line))) {
        return;
    }
    const ShellBoxes shellBoxes = IsSilentRun() ? ShellBoxes::None : ShellBoxes::Allowed;
    if (!NamesStream(path) && RunDefaultAction(path, platform::WindowHandle{}, shellBoxes)) {
        Tell(Happened::OpenedByShell);
        return;
    }
    if (!document) {
        Tell(Happened::NotStarted, 0, launch.whyNot);
    }
    ShowError(std::string(texts::kCannotRun) + line);
}

// The line as written names the command; its variables are replaced in
// what it works on. A line that cannot then be carried out is reported as
// written.
void CarryOutLine(bool lastLine) {
    const CarriedOutLine carried(runState.ScriptLine);
    if (carried.Fault() != ExpansionFault::None) {
        Tell(Happened::NotStarted, 0, WhyNotCarriedOut(carried.Fault()));
        ShowError(std::string(texts::kCannotRun) + runState.ScriptLine);
        return;
    }
    if (carried.Text() != runState.ScriptLine) {
        Tell(Happened::CarriedOutAs, 0, carried.Text());
    }
    const RecognisedLine line = carried.Recognised();
    runState.ClosingCommand = line.closingCommand;
    runState.NoConfirmation = line.noConfirmation;
    switch (line.command) {
        case LineCommand::LaunchToClose:
            LaunchOrReport(line.argument);
            break;
        case LineCommand::Close:
            CloseApplication(line.argument);
            break;
        case LineCommand::PauseOrWait:
            PauseOrWait(RecogniseLine(runState.ScriptLine).argument, line.argument, lastLine);
            break;
        case LineCommand::HideWindow:
            ShowOrHideWindow(platform::kSwHide);
            break;
        case LineCommand::ShowWindow:
            ShowOrHideWindow(platform::kSwShow);
            break;
        case LineCommand::Connection:
            RunConnectionCommand(carried.Text());
            break;
        case LineCommand::Plain:
            RunPlainLine(carried.Text());
            break;
    }
}

// A script that cannot be read runs no line, and says why; nor does one
// that others may change in a run with an administrator's rights, nor a
// downloaded one that the user did not accept.
ScriptReader ReadScript(const std::string& path) {
    ScriptReader script;
    std::wstring finalPath;
    bool refused = false;
    script.Open(path, runState.ScriptWidePath, [&](platform::KernelHandle file) {
        finalPath = FinalPathOf(file);
        refused = !MayRunWithTheseRights(path, finalPath);
        return !refused;
    });
    if (refused) {
        runState.Outcome.couldNotStart = true;
    } else if (!script.Opened()) {
        runState.Outcome.couldNotStart = true;
        Tell(Happened::ScriptUnreadable, 0, SystemErrorText(script.OpenError()));
    } else if (!MayRunScriptFrom(ReadDownloadMark(finalPath, path, runState.ScriptWidePath),
                                 path)) {
        runState.Outcome.couldNotStart = true;
        script = ScriptReader();
    }
    return script;
}

// Answers the number of the failed line that /Arret stopped the script at, or 0.
int CarryOutLines(ScriptReader& script) {
    const std::string trayTip = std::string(texts::kTrayTipPrefix) + runState.Parameters[1];
    int number = 0;
    while (!script.AtEnd() && !runState.StopRequested) {
        if (!PollMessagesBetweenLines()) {
            break;
        }
        runState.ScriptLine = Trim(script.ReadLine());
        ++number;
        if (runState.UseStatusWindow) {
            SetTrayTip(trayTip);
        }
        if (IsCommentOrEmpty(runState.ScriptLine)) {
            continue;
        }
        JournalLine(number, runState.ScriptLine);
        CarryOutLine(script.AtEnd());
        if (runState.Switches.stopAtFailure && runState.Outcome.lineFailed) {
            return number;
        }
        if (!PollMessagesBetweenLines()) {
            break;
        }
    }
    if (runState.StopRequested) {
        Tell(Happened::StoppedByUser);
    }
    return 0;
}

}  // namespace

void RunScript() {
    if (!runState.Switches.run) {
        // Only the switches of an unattended run make a wrong command line a failure.
        runState.Outcome.couldNotStart = true;
        if (!runState.Switches.wrongSwitch.empty()) {
            Tell(Happened::WrongSwitch, 0, runState.Switches.wrongSwitch);
        }
        ShowNotice(texts::kUsage);
        return;
    }
    StartRun();
    ScriptReader script = ReadScript(runState.Parameters[1]);
    const int failedLine = CarryOutLines(script);
    JournalEndOfScript();
    if (failedLine != 0) {
        Tell(Happened::StoppedAfterFailure, failedLine);
    }
    FinishRun();
}

}  // namespace skervo
