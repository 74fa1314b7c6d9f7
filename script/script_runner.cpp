#include "script/script_runner.h"

#include <string>

#include "app/command_line.h"
#include "common/run_state.h"
#include "common/text_rules.h"
#include "common/windows_family.h"
#include "platform/user.h"
#include "programs/application_closing.h"
#include "programs/default_action.h"
#include "programs/launcher.h"
#include "script/connection_commands.h"
#include "script/count.h"
#include "script/end_of_run.h"
#include "script/line_recognition.h"
#include "script/pause.h"
#include "script/script_reader.h"
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

void PauseOrWait(std::string_view rest, bool lastLine) {
    if (const auto seconds = PauseSeconds(rest)) {
        runState.PauseMilliseconds = std::int64_t{*seconds} * 1000;
        if (!lastLine) {  // a pause on the last line would only delay the end
            RunPause(rest);
        }
    } else {
        LaunchOrReport(rest, {.waitForEnd = !lastLine});
    }
}

void ShowOrHideWindow(int command) {
    // Hidden only while the icon offers the way back.
    if (runState.TrayIconPresent) {
        platform::ShowWindow(runState.StatusWindowHandle, command);
    }
}

void RunPlainLine(const std::string& line) {
    if (TryLaunch(line) || RunDefaultAction(line, platform::WindowHandle{})) {
        return;
    }
    ShowError(std::string(texts::kCannotRun) + line);
}

void CarryOutLine(bool lastLine) {
    const RecognisedLine line = RecogniseLine(runState.ScriptLine);
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
            PauseOrWait(line.argument, lastLine);
            break;
        case LineCommand::HideWindow:
            ShowOrHideWindow(platform::kSwHide);
            break;
        case LineCommand::ShowWindow:
            ShowOrHideWindow(platform::kSwShow);
            break;
        case LineCommand::Connection:
            RunConnectionCommand();
            break;
        case LineCommand::Plain:
            RunPlainLine(runState.ScriptLine);
            break;
    }
}

}  // namespace

bool CallsForUsage(int parameterCount, bool silentSwitch) {
    const bool scriptAlone = parameterCount == 1 && !silentSwitch;
    const bool scriptAndSwitch = parameterCount == 2 && silentSwitch;
    return !scriptAlone && !scriptAndSwitch;
}

void RunScript() {
    if (CallsForUsage(ParameterCount(), HasSwitch("silent"))) {
        ShowNotice(texts::kUsage);
        return;
    }
    StartRun();
    const std::string& scriptPath = runState.Parameters[1];
    const std::string trayTip = std::string(texts::kTrayTipPrefix) + scriptPath;
    ScriptReader script;
    script.Open(scriptPath, runState.ScriptWidePath);
    while (!script.AtEnd() && !runState.StopRequested) {
        if (!PollMessages()) {
            break;
        }
        runState.ScriptLine = Trim(script.ReadLine());
        if (runState.UseStatusWindow) {
            SetTrayTip(trayTip);
        }
        if (IsCommentOrEmpty(runState.ScriptLine)) {
            continue;
        }
        CarryOutLine(script.AtEnd());
        if (!PollMessages()) {
            break;
        }
    }
    script.Close();
    FinishRun();
}

}  // namespace skervo
