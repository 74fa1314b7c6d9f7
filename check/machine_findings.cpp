#include "check/machine_findings.h"

#include <string>

#include "check/check_texts.h"
#include "check/codes.h"
#include "check/line_action.h"
#include "check/text_findings.h"
#include "common/text_rules.h"
#include "programs/closing_name.h"
#include "script/connection_forms.h"
#include "script/count.h"

namespace skervo {
namespace {

namespace t = check_texts;

void AddError(Findings& findings, const CheckedLine& line, std::string_view code,
              std::string message) {
    findings.push_back({line.number, Severity::Error, std::move(message), code});
}

}  // namespace

// The launcher starts the program part when it exists with its folder; a
// plain line falls back on the shell, which opens any existing file or folder.
void MachineFindings::FindInLaunch(const CheckedLine& line, std::string_view text,
                                   Findings& findings) {
    const CommandSplit split = machine_.SplitLaunchText(text);
    if (ServiceWordOf(split.program) != ServiceWord::None) {
        const std::string name(Trim(split.arguments));
        if (machine_.ServiceExists(name) == Answer::No) {
            AddError(findings, line, codes::kUnknownService,
                     std::string(t::kUnknownService) + name);
        }
        return;
    }
    const bool starts = !FolderOf(split.program).empty() && IsProgramPath(split.program) &&
                        machine_.FileExists(split.program);
    const bool opens =
        line.recognised.command == LineCommand::Plain && machine_.PathExists(std::string(text));
    if (!starts && !opens) {
        AddError(findings, line, codes::kMissing, std::string(t::kMissing) + split.program);
    }
}

// A missing .exe does not stop the line: its text is then looked for in
// window titles, which rarely hold a path.
void MachineFindings::FindInClose(const CheckedLine& line, Findings& findings) {
    const std::string_view name = ClosingName(line.recognised.argument);
    if (UpperCase(name).ends_with(".EXE") && FolderOf(name).size() > 0 &&
        !machine_.ClosesByPath(name)) {
        findings.push_back({line.number, Severity::Warning,
                            std::string(t::kMissing) + std::string(name), codes::kMissing});
    }
}

// Every connection command but the dialog binds the dial-up library; the
// automatic dial looks its entry up in the phone book.
void MachineFindings::FindInConnection(const CheckedLine& line, Findings& findings) {
    const ConnectionForm form = RecogniseConnection(line.text);
    const bool dials = form.command == ConnectionCommand::AutomaticDial;
    if (form.command == ConnectionCommand::DialogDial || (dials && form.entry.empty())) {
        return;
    }
    if (!machine_.HasDialupLibrary()) {
        if (!libraryReported_) {
            AddError(findings, line, codes::kNoLibrary, std::string(t::kNoDialupLibrary));
            libraryReported_ = true;
        }
        return;
    }
    if (dials && machine_.PhoneBookHas(std::string(form.entry)) == Answer::No) {
        AddError(findings, line, codes::kUnknownEntry,
                 std::string(t::kUnknownEntry) + std::string(form.entry));
    }
}

void MachineFindings::Find(const CheckedLine& line, Findings& findings) {
    if (HasError(findings, line.number)) {
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
            FindInConnection(line, findings);
            break;
        case LineCommand::HideWindow:
        case LineCommand::ShowWindow:
            break;
    }
}

}  // namespace skervo
