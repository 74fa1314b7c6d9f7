#include "check/explanation.h"

#include "check/check_texts.h"

namespace skervo {
namespace {

namespace t = check_texts;

std::string Quoted(std::string_view before, std::string_view subject) {
    return std::string(before) + std::string(subject) + std::string(t::kQuoteEnd);
}

std::string Launch(const LineAction& action, const CheckedLine& line) {
    std::string sentence = std::string(t::kLaunches) + action.subject;
    if (action.kind == ActionKind::LaunchAndWait) {
        sentence += t::kAndWaits;
    } else if (line.recognised.command == LineCommand::PauseOrWait) {
        sentence += t::kWithoutWaiting;
    }
    return sentence;
}

std::string Service(const LineAction& action) {
    const bool start = action.kind == ActionKind::StartService;
    return std::string(start ? t::kStartsService : t::kStopsService) + action.subject +
           std::string(action.waitsForService ? t::kAndWaitsForIt : "");
}

}  // namespace

std::string Explain(const LineAction& action, const CheckedLine& line) {
    switch (action.kind) {
        case ActionKind::Nothing:
            return std::string(line.recognised.command == LineCommand::PauseOrWait
                                   ? t::kSkippedPause
                                   : t::kNothing);
        case ActionKind::Launch:
        case ActionKind::LaunchAndWait:
            return Launch(action, line);
        case ActionKind::OpenDocument:
            return std::string(t::kOpens) + action.subject + std::string(t::kWithDefaultAction);
        case ActionKind::StartService:
        case ActionKind::StopService:
            return Service(action);
        case ActionKind::Pause:
            return std::string(t::kWaitsSeconds) + action.subject + std::string(t::kSeconds);
        case ActionKind::CloseApplication:
            return std::string(t::kClosesApplication) + action.subject;
        case ActionKind::KillApplication:
            return std::string(t::kKillsApplication) + action.subject;
        case ActionKind::CloseTitledWindows:
            return Quoted(t::kClosesTitled, action.subject);
        case ActionKind::HideWindow:
            return std::string(t::kHidesWindow);
        case ActionKind::ShowWindow:
            return std::string(t::kShowsWindow);
        case ActionKind::AutomaticDial:
            return Quoted(t::kDials, action.subject);
        case ActionKind::DialogDial:
            return Quoted(t::kOpensDialog, action.subject);
        case ActionKind::WaitForConnection:
            return std::string(t::kWaitsForConnection);
        case ActionKind::WaitForNoConnection:
            return std::string(t::kWaitsForNoConnection) +
                   std::string(action.window == StatusWindowDuringWait::Hidden
                                   ? t::kWindowHiddenMeanwhile
                                   : "");
        case ActionKind::HangUpAll:
            return std::string(t::kHangsUp);
    }
    return {};
}

// The last started is the first closed.
std::string ExplainEndOfRun(const std::vector<LineAction>& closedAtEnd,
                            const std::string& connectionName) {
    std::string sentence;
    for (auto app = closedAtEnd.rbegin(); app != closedAtEnd.rend(); ++app) {
        sentence += sentence.empty() ? std::string_view{} : t::kThen;
        sentence += app->atEnd == AtEndOfRun::Killed ? t::kAtTheEndKills : t::kAtTheEndCloses;
        sentence += app->subject;
    }
    if (!sentence.empty() && !connectionName.empty()) {
        sentence += std::string(t::kAfterDisconnection) + connectionName +
                    std::string(t::kAfterDisconnectionEnd);
    }
    return sentence;
}

}  // namespace skervo
