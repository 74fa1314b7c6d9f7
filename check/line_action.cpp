#include "check/line_action.h"

#include <algorithm>
#include <string>

#include "common/text_rules.h"
#include "programs/closing_name.h"
#include "programs/command_split.h"
#include "script/count.h"

namespace skervo {
namespace {

bool EndsWithIgnoringCase(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && UpperCase(text.substr(text.size() - end.size())) == end;
}

bool ClosesByPath(std::string_view name, Machine* machine) {
    return machine ? machine->ClosesByPath(name) : ClosesByPathInText(name);
}

}  // namespace

bool ClosesByPathInText(std::string_view name) {
    return EndsWithIgnoringCase(name, ".EXE");
}

ProgramChoice ChooseProgramOn(std::string_view text, Machine* machine) {
    return machine ? machine->ChooseProgram(text) : ChooseProgram(text, FileTest{});
}

// The program as it will be started, or, when none, as it is written.
LineAction ActionTracker::Launch(const ProgramChoice& choice, ActionKind kind) {
    const ServiceWord word = ServiceWordOf(choice.written);
    if (word == ServiceWord::None) {
        return {.kind = kind, .subject = choice.program.empty() ? choice.written : choice.program};
    }
    return {.kind = word == ServiceWord::Start ? ActionKind::StartService : ActionKind::StopService,
            .subject = std::string(Trim(choice.arguments)),
            .waitsForService = kind == ActionKind::LaunchAndWait};
}

LineAction ActionTracker::Launch(std::string_view text, ActionKind kind) {
    return Launch(ChooseProgramOn(text, machine_), kind);
}

// What the launcher cannot start, the shell's default action opens; a
// folder or a document goes to it straight away, without the quotes around
// its whole name.
LineAction ActionTracker::Plain(std::string_view text) {
    const std::string path(Unquoted(text));
    if (machine_ && machine_->NamesDocumentOrFolder(path)) {
        return {.kind = ActionKind::OpenDocument, .subject = path};
    }
    const ProgramChoice choice = ChooseProgramOn(text, machine_);
    const LineAction action = Launch(choice, ActionKind::Launch);
    if (action.kind != ActionKind::Launch || !choice.program.empty()) {
        return action;
    }
    return {.kind = ActionKind::OpenDocument, .subject = path};
}

LineAction ActionTracker::Close(const RecognisedLine& line) {
    const std::string_view name = ClosingName(line.argument);
    if (name.empty()) {
        return {};
    }
    if (!ClosesByPath(name, machine_)) {
        return {.kind = ActionKind::CloseTitledWindows, .subject = std::string(name)};
    }
    return {
        .kind = line.noConfirmation ? ActionKind::KillApplication : ActionKind::CloseApplication,
        .subject = std::string(name)};
}

LineAction ActionTracker::Connection(std::string_view text) {
    const ConnectionForm form = RecogniseConnection(text);
    switch (form.command) {
        case ConnectionCommand::AutomaticDial:
            if (form.entry.empty() || form.entry == connectionName_) {
                return {.subject = std::string(form.entry)};
            }
            connectionName_ = form.entry;
            return {.kind = ActionKind::AutomaticDial, .subject = connectionName_};
        case ConnectionCommand::WaitForConnection:
            return {.kind = ActionKind::WaitForConnection};
        case ConnectionCommand::HangUpAll:
            return {.kind = ActionKind::HangUpAll};
        case ConnectionCommand::WaitForNoConnection:
            return {.kind = ActionKind::WaitForNoConnection, .window = form.window};
        case ConnectionCommand::DialogDial:
            connectionName_ = form.entry;
            return {.kind = ActionKind::DialogDial, .subject = connectionName_};
    }
    return {};
}

LineAction ActionTracker::Next(const CheckedLine& line) {
    const RecognisedLine& recognised = line.recognised;
    switch (recognised.command) {
        case LineCommand::LaunchToClose: {
            LineAction action = Launch(recognised.argument, ActionKind::Launch);
            if (action.kind == ActionKind::Launch && !action.subject.empty()) {
                action.atEnd = recognised.noConfirmation ? AtEndOfRun::Killed : AtEndOfRun::Closed;
                closedAtEnd_.push_back(action);
            }
            return action;
        }
        case LineCommand::Close:
            return Close(recognised);
        case LineCommand::PauseOrWait:
            if (const auto seconds = PauseSeconds(recognised.argument)) {
                return {.kind = line.lastLine ? ActionKind::Nothing : ActionKind::Pause,
                        .subject = std::to_string(*seconds)};
            }
            return Launch(recognised.argument,
                          line.lastLine ? ActionKind::Launch : ActionKind::LaunchAndWait);
        case LineCommand::HideWindow:
            return {.kind = ActionKind::HideWindow};
        case LineCommand::ShowWindow:
            return {.kind = ActionKind::ShowWindow};
        case LineCommand::Connection:
            return Connection(line.text);
        case LineCommand::Plain:
            return Plain(line.text);
    }
    return {};
}

}  // namespace skervo
