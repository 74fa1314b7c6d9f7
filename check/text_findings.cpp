#include "check/text_findings.h"

#include <algorithm>
#include <string>

#include "check/check_texts.h"
#include "check/codes.h"
#include "check/line_action.h"
#include "check/variable_names.h"
#include "common/text_rules.h"
#include "programs/closing_name.h"
#include "programs/command_split.h"
#include "script/connection_forms.h"
#include "script/count.h"

namespace skervo {
namespace {

namespace t = check_texts;

// part: where in the line the fault lies, when not the whole line.
void Add(Findings& findings, const CheckedLine& line, Severity severity, std::string_view code,
         std::string message, std::string_view part = {}) {
    findings.push_back(FindingAt(line, part, severity, code, std::move(message)));
}

// C:\Program Files\App\app.exe /x: the launcher cuts it at its first blank.
// The program the author meant ends at a later blank, with a program's
// extension, and arguments follow it.
std::string_view MeantProgram(std::string_view text, const CommandSplit& split) {
    if (text.starts_with('"') || IsProgramPath(split.program)) {
        return {};
    }
    for (std::size_t blank = text.find(' '); blank != std::string_view::npos;
         blank = text.find(' ', blank + 1)) {
        const std::string_view before = text.substr(0, blank);
        if (blank > split.program.size() && IsProgramPath(before)) {
            return before;
        }
    }
    return {};
}

// %DOSSIER%\app.exe: where it lies is for the machine to tell, once the
// variable is replaced.
bool BeginsWithVariable(std::string_view path) {
    const std::vector<NamedVariable> variables = NamedVariables(path);
    return !variables.empty() && variables[0].closed && variables[0].text.data() == path.data();
}

enum class LaunchFrom { PlainLine, CommandLine };

// The program part of a launch text, or its service command.
void FindInLaunch(const CheckedLine& line, std::string_view text, LaunchFrom from,
                  Findings& findings) {
    if (text.empty()) {
        Add(findings, line, Severity::Error, codes::kNoName, std::string(t::kNoProgram));
        return;
    }
    if (text.front() == ' ') {
        Add(findings, line, Severity::Error, codes::kBlankAfterAt, std::string(t::kBlankAfterAt));
        return;
    }
    const CommandSplit split = SplitCommandLine(text);
    if (split.program.find('\t') != std::string::npos) {
        Add(findings, line, Severity::Error, codes::kTab, std::string(t::kTab), split.program);
        return;
    }
    const ServiceWord word = ServiceWordOf(split.program);
    if (word != ServiceWord::None) {
        if (Trim(split.arguments).empty()) {
            Add(findings, line, Severity::Error, codes::kNoName, std::string(t::kNoService));
        } else {
            Add(findings, line, Severity::Remark, codes::kRights, std::string(t::kNeedsRights));
        }
        return;
    }
    if (const std::string_view meant = MeantProgram(text, split); !meant.empty()) {
        Add(findings, line, Severity::Error, codes::kQuotes,
            std::string(t::kQuotes) + split.program + " (\"" + std::string(meant) + "\" ...)",
            meant);
        return;
    }
    // An empty current directory keeps the system from starting it; a plain
    // line may still name a document that the shell opens.
    if (FolderOf(split.program).empty() && !BeginsWithVariable(split.program)) {
        Add(findings, line, from == LaunchFrom::PlainLine ? Severity::Warning : Severity::Error,
            codes::kNoFolder, std::string(t::kNoFolder) + split.program, split.program);
    }
}

// @30 # commentaire, @30 secondes: the count is no longer the whole text.
bool FindCountWithText(const CheckedLine& line, std::string_view argument, Findings& findings) {
    const std::string_view trimmed = Trim(argument);
    const std::size_t blank = trimmed.find(' ');
    if (blank == std::string_view::npos || !ParseCount(trimmed.substr(0, blank))) {
        return false;
    }
    Add(findings, line, Severity::Error, codes::kExtraText,
        std::string(t::kCountWithText) + std::string(trimmed.substr(0, blank)),
        Trim(trimmed.substr(blank)));
    return true;
}

void FindInPauseOrWait(const CheckedLine& line, Findings& findings) {
    const std::string_view argument = line.recognised.argument;
    if (const auto seconds = PauseSeconds(argument)) {
        if (line.lastLine) {
            Add(findings, line, Severity::Warning, codes::kFinalPause, std::string(t::kFinalPause));
        } else if (*seconds < 0) {
            Add(findings, line, Severity::Warning, codes::kNegativePause,
                std::string(t::kNegativePause));
        }
        return;
    }
    if (FindCountWithText(line, argument, findings)) {
        return;
    }
    FindInLaunch(line, argument, LaunchFrom::CommandLine, findings);
    if (line.lastLine && !HasError(findings, line.number)) {
        Add(findings, line, Severity::Warning, codes::kFinalWait, std::string(t::kFinalWait));
    }
}

void FindInClose(const CheckedLine& line, Findings& findings) {
    const std::string_view name = ClosingName(line.recognised.argument);
    if (name.empty()) {
        Add(findings, line, Severity::Warning, codes::kNoName, std::string(t::kNoApplication));
    } else if (UpperCase(name).ends_with(".EXE") && !IsFullPath(name) &&
               !BeginsWithVariable(name)) {
        Add(findings, line, Severity::Warning, codes::kRelativePath, std::string(t::kRelativePath),
            name);
    }
}

void FindInConnection(const CheckedLine& line, Findings& findings) {
    const ConnectionForm form = RecogniseConnection(line.text);
    if (form.command == ConnectionCommand::DialogDial && !FitsTheDialogsCommandLine(form.entry)) {
        Add(findings, line, Severity::Error, codes::kEntryName, std::string(t::kEntryNameRefused));
        return;
    }
    std::string message;
    std::string_view part;
    if (form.command == ConnectionCommand::AutomaticDial && form.entry.empty()) {
        message = t::kDialWithoutEntry;
    } else if (form.command == ConnectionCommand::DialogDial && form.entry.empty()) {
        message = t::kDialogWithoutEntry;
    } else if (form.command == ConnectionCommand::WaitForNoConnection &&
               form.window == StatusWindowDuringWait::Kept &&
               Trim(form.ignored).starts_with(",-")) {
        message = t::kBlankBeforeHide;
    } else if (!form.ignored.empty()) {
        message = std::string(t::kIgnoredAfter) +
                  std::string(line.text.substr(0, line.text.size() - form.ignored.size())) +
                  std::string(t::kColon) + std::string(Trim(form.ignored));
        part = Trim(form.ignored);
    }
    if (!message.empty()) {
        Add(findings, line, Severity::Warning, codes::kConnection, std::move(message), part);
    }
}

// " #" outside quotes: the runner takes it, and what follows, as part of
// the command. Empty when there is none.
std::string_view InnerComment(std::string_view text) {
    bool quoted = false;
    for (std::size_t i = 1; i < text.size(); ++i) {
        quoted ^= text[i] == '"';
        if (!quoted && text[i] == '#' && static_cast<unsigned char>(text[i - 1]) <= 32) {
            return text.substr(i);
        }
    }
    return {};
}

void FindInAnyLine(const CheckedLine& line, Findings& findings) {
    for (const NamedVariable& variable : NamedVariables(line.text)) {
        if (!variable.closed) {
            Add(findings, line, Severity::Warning, codes::kVariable,
                std::string(variable.text) + std::string(t::kVariableUnclosed), variable.text);
            break;
        }
    }
    if (const std::string_view comment = InnerComment(line.text);
        !comment.empty() && !HasError(findings, line.number)) {
        Add(findings, line, Severity::Warning, codes::kComment, std::string(t::kComment), comment);
    }
}

}  // namespace

// Findings come in line order: only the last ones can be about this line.
bool HasError(const Findings& findings, int line) {
    for (auto finding = findings.rbegin(); finding != findings.rend() && finding->line == line;
         ++finding) {
        if (finding->severity == Severity::Error) {
            return true;
        }
    }
    return false;
}

void FindInText(const CheckedLine& line, Findings& findings) {
    const RecognisedLine& recognised = line.recognised;
    switch (recognised.command) {
        case LineCommand::LaunchToClose:
            FindInLaunch(line, recognised.argument, LaunchFrom::CommandLine, findings);
            break;
        case LineCommand::Close:
            FindInClose(line, findings);
            break;
        case LineCommand::PauseOrWait:
            FindInPauseOrWait(line, findings);
            break;
        case LineCommand::Connection:
            FindInConnection(line, findings);
            break;
        case LineCommand::HideWindow:
        case LineCommand::ShowWindow:
            break;
        case LineCommand::Plain:
            if (line.text[0] == '-' || line.text[0] == '+') {
                Add(findings, line, Severity::Error, codes::kExtraText,
                    std::string(t::kWindowCommandWithText));
            } else {
                FindInLaunch(line, line.text, LaunchFrom::PlainLine, findings);
            }
            break;
    }
    FindInAnyLine(line, findings);
}

}  // namespace skervo
