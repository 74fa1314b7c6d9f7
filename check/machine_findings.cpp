#include "check/machine_findings.h"

#include <string>

#include "check/check_texts.h"
#include "check/codes.h"
#include "check/line_action.h"
#include "check/text_findings.h"
#include "common/text_rules.h"
#include "programs/closing_name.h"
#include "programs/command_split.h"
#include "script/connection_forms.h"
#include "script/count.h"

namespace skervo {
namespace {

namespace t = check_texts;

void AddError(Findings& findings, const CheckedLine& line, std::string_view code,
              std::string message) {
    findings.push_back({line.number, Severity::Error, std::move(message), code});
}

// The path a launching or closing line names, which the machine probes.
std::string_view ProbedPath(const CheckedLine& line) {
    switch (line.recognised.command) {
        case LineCommand::Plain:
            return line.text;
        case LineCommand::LaunchToClose:
        case LineCommand::PauseOrWait:
            return line.recognised.argument;
        case LineCommand::Close:
            return ClosingName(line.recognised.argument);
        case LineCommand::Connection:
        case LineCommand::HideWindow:
        case LineCommand::ShowWindow:
            break;
    }
    return {};
}

}  // namespace

// The launcher starts the program it chooses; a plain line falls back on the
// shell, which opens any existing file or folder.
void MachineFindings::FindInLaunch(const CheckedLine& line, std::string_view text,
                                   Findings& findings) {
    const ProgramChoice choice = machine_.ChooseProgram(text);
    if (ServiceWordOf(choice.written) != ServiceWord::None) {
        const std::string name(Trim(choice.arguments));
        if (machine_.ServiceExists(name) == Answer::No) {
            AddError(findings, line, codes::kUnknownService,
                     std::string(t::kUnknownService) + name);
        }
        return;
    }
    const bool starts = !choice.program.empty();
    const std::string path(Unquoted(text));
    const bool opens = line.recognised.command == LineCommand::Plain && !NamesStream(path) &&
                       machine_.PathExists(path);
    if (!starts && !opens) {
        AddError(findings, line, codes::kMissing, std::string(t::kMissing) + choice.written);
    }
}

// A missing .exe does not stop the line: its text is then looked for in
// window titles, which rarely hold a path. Any other existing file is
// looked for among every process's modules: a library of Windows is in
// nearly all of them.
void MachineFindings::FindInClose(const CheckedLine& line, Findings& findings) {
    const std::string_view name = ClosingName(line.recognised.argument);
    const bool byPath = machine_.ClosesByPath(name);
    if (byPath && !IsProgramPath(name)) {
        AddError(findings, line, codes::kNotAProgram,
                 std::string(t::kNotAProgram) + std::string(name));
    } else if (!byPath && UpperCase(name).ends_with(".EXE") && !FolderOf(name).empty()) {
        findings.push_back({line.number, Severity::Warning,
                            std::string(t::kMissing) + std::string(name), codes::kMissing});
    }
}

// Every connection command but the dialog binds the dial-up library; the
// automatic dial looks its entry up in the phone book. An automatic dial of
// the entry named last does neither: the runner skips it.
void MachineFindings::FindInConnection(const CheckedLine& line, const LineAction& action,
                                       Findings& findings) {
    const ConnectionForm form = RecogniseConnection(line.text);
    const bool dials = form.command == ConnectionCommand::AutomaticDial;
    if (form.command == ConnectionCommand::DialogDial ||
        (dials && action.kind != ActionKind::AutomaticDial)) {
        return;
    }
    if (!machine_.HasDialupLibrary()) {
        if (!libraryReported_) {
            AddError(findings, line, codes::kNoLibrary, std::string(t::kNoDialupLibrary));
            libraryReported_ = true;
        }
        return;
    }
    if (!dials) {
        return;
    }
    const std::string entry(form.entry);
    switch (machine_.PhoneBookHas(entry)) {
        case Answer::No:
            AddError(findings, line, codes::kUnknownEntry, std::string(t::kUnknownEntry) + entry);
            break;
        case Answer::Unknown:
            findings.push_back({line.number, Severity::Remark,
                                std::string(t::kEntryNotChecked) + entry, codes::kEntryNotChecked});
            break;
        case Answer::Yes:
            break;
    }
}

void MachineFindings::Find(const CheckedLine& line, const LineAction& action, Findings& findings) {
    if (HasError(findings, line.number)) {
        return;
    }
    const std::string_view path = ProbedPath(line);
    if (!machine_.Probes(path)) {
        findings.push_back({line.number, Severity::Remark,
                            std::string(t::kNetworkNotProbed) + std::string(path),
                            codes::kNetworkNotProbed});
        return;
    }
    const RecognisedLine& recognised = line.recognised;
    switch (recognised.command) {
        case LineCommand::LaunchToClose:
            FindInLaunch(line, recognised.argument, findings);
            break;
        case LineCommand::PauseOrWait:
            if (!PauseSeconds(recognised.argument)) {
                FindInLaunch(line, recognised.argument, findings);
            }
            break;
        case LineCommand::Plain:
            FindInLaunch(line, line.text, findings);
            break;
        case LineCommand::Close:
            FindInClose(line, findings);
            break;
        case LineCommand::Connection:
            FindInConnection(line, action, findings);
            break;
        case LineCommand::HideWindow:
        case LineCommand::ShowWindow:
            break;
    }
}

}  // namespace skervo
