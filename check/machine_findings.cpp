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

// part: the name the finding is about, a piece of the line.
void Add(Findings& findings, const CheckedLine& line, Severity severity, std::string_view code,
         std::string message, std::string_view part) {
    findings.push_back(FindingAt(line, part, severity, code, std::move(message)));
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
            Add(findings, line, Severity::Error, codes::kUnknownService,
                std::string(t::kUnknownService) + name, name);
        }
        return;
    }
    if (!machine_.Probes(text)) {
        if (machine_.PlaceOf(text) == PathPlace::Network) {
            Add(findings, line, Severity::Remark, codes::kNetworkNotProbed,
                std::string(t::kNetworkNotProbed) + std::string(text), text);
        } else {
            Add(findings, line, Severity::Remark, codes::kRelativePath,
                std::string(t::kRelativeNotProbed) + choice.written, choice.written);
        }
        return;
    }
    const bool starts = !choice.program.empty();
    const std::string path(Unquoted(text));
    const bool opens = line.recognised.command == LineCommand::Plain && !NamesStream(path) &&
                       machine_.PathExists(path);
    if (!starts && !opens) {
        Add(findings, line, Severity::Error, codes::kMissing,
            std::string(t::kMissing) + choice.written, choice.written);
    }
}

// A missing .exe does not stop the line: its text is then looked for in
// window titles, which rarely hold a path. Any other existing file is
// looked for among every process's modules: a library of Windows is in
// nearly all of them.
// A relative name not probed is a title, or the text's finding.
void MachineFindings::FindInClose(const CheckedLine& line, Findings& findings) {
    const std::string_view name = ClosingName(line.recognised.argument);
    if (!machine_.Probes(name)) {
        if (machine_.PlaceOf(name) == PathPlace::Network) {
            Add(findings, line, Severity::Remark, codes::kNetworkNotProbed,
                std::string(t::kNetworkNotProbed) + std::string(name), name);
        }
        return;
    }
    const bool byPath = machine_.ClosesByPath(name);
    if (byPath && !IsProgramPath(name)) {
        Add(findings, line, Severity::Error, codes::kNotAProgram,
            std::string(t::kNotAProgram) + std::string(name), name);
    } else if (!byPath && UpperCase(name).ends_with(".EXE") && !FolderOf(name).empty()) {
        Add(findings, line, Severity::Warning, codes::kMissing,
            std::string(t::kMissing) + std::string(name), name);
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
            Add(findings, line, Severity::Error, codes::kNoLibrary,
                std::string(t::kNoDialupLibrary), {});
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
            Add(findings, line, Severity::Error, codes::kUnknownEntry,
                std::string(t::kUnknownEntry) + entry, form.entry);
            break;
        case Answer::Unknown:
            Add(findings, line, Severity::Remark, codes::kEntryNotChecked,
                std::string(t::kEntryNotChecked) + entry, form.entry);
            break;
        case Answer::Yes:
            break;
    }
}

void MachineFindings::Find(const CheckedLine& line, const LineAction& action, Findings& findings) {
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
            FindInConnection(line, action, findings);
            break;
        case LineCommand::HideWindow:
        case LineCommand::ShowWindow:
            break;
    }
}

}  // namespace skervo
