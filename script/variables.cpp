#include "script/variables.h"

#include <algorithm>
#include <optional>

#include "common/ansi_text.h"
#include "journal/journal_texts.h"
#include "platform/kernel.h"
#include "programs/command_split.h"
#include "script/connection_forms.h"
#include "script/count.h"

namespace skervo {
namespace {

// Where the part that names something begins; npos for a line that names nothing.
std::size_t NamingStart(std::string_view written, const RecognisedLine& line) {
    switch (line.command) {
        case LineCommand::Plain:
        case LineCommand::LaunchToClose:
        case LineCommand::Close:
            return static_cast<std::size_t>(line.argument.data() - written.data());
        case LineCommand::PauseOrWait:
            return PauseSeconds(line.argument) ? std::string_view::npos : 1;
        case LineCommand::Connection:
            switch (RecogniseConnection(written).command) {
                case ConnectionCommand::AutomaticDial:
                    return 2;
                case ConnectionCommand::DialogDial:
                    return 1;
                default:
                    break;  // &- &< &> name nothing
            }
            break;
        case LineCommand::HideWindow:
        case LineCommand::ShowWindow:
            break;
    }
    return std::string_view::npos;
}

ExpandedText Checked(std::string text, ExpansionFault fault = ExpansionFault::None) {
    if (fault == ExpansionFault::None && text.size() > kLongestCommandLine) {
        fault = ExpansionFault::TooLong;
    }
    return {std::move(text), fault};
}

// Right after &, an entry beginning with & - < or > would read as another
// connection command: a blank, which the entry loses when it is trimmed,
// keeps it the dialog's.
const char* ApartFromTheCommand(const RecognisedLine& written, std::string_view named) {
    const bool afterAmpersand =
        written.command == LineCommand::Connection &&
        RecogniseConnection(written.argument).command == ConnectionCommand::DialogDial;
    return afterAmpersand && !named.empty() &&
                   std::string_view("&-<>").find(named[0]) != std::string_view::npos
               ? " "
               : "";
}

// NETSTART and NETSTOP make a line a service's: a value that brings either
// word would turn a program's line into one.
bool BringsAServiceWord(const RecognisedLine& written, std::string_view carriedArgument) {
    const auto serviceWord = [](std::string_view argument) {
        return ServiceWordOf(SplitCommandLine(argument).program) != ServiceWord::None;
    };
    return written.command != LineCommand::Connection && written.command != LineCommand::Close &&
           serviceWord(carriedArgument) && !serviceWord(written.argument);
}

// One piece without a zero byte, which would end the system's reading of it.
ExpandedText ExpandPiece(std::string_view text) {
    const std::optional<std::wstring> wide =
        platform::MultiByteToWideChar(platform::kCpAcp, 0, text);
    const std::optional<std::wstring> expanded =
        wide ? platform::ExpandEnvironmentStringsW(*wide) : std::nullopt;
    if (!expanded) {
        return Checked(
            platform::ExpandEnvironmentStringsA(std::string(text)).value_or(std::string(text)));
    }
    if (expanded->size() > kLongestCommandLine) {
        return {std::string(text), ExpansionFault::TooLong};
    }
    const std::optional<std::string> ansi = WideToAnsi(*expanded);
    if (!ansi || !IsExactInAnsi(*expanded)) {
        return {std::string(text), ExpansionFault::OutsideCodePage};
    }
    return Checked(*ansi);
}

}  // namespace

ExpandedText ExpandVariables(std::string_view text) {
    if (text.find('%') == std::string_view::npos) {
        return {std::string(text)};
    }
    // A line may hold zero bytes, and its box shows them: each piece between
    // them is expanded apart, so that none is lost.
    std::string expanded;
    for (std::size_t at = 0;; ++at) {
        const std::size_t end = std::min(text.find('\0', at), text.size());
        ExpandedText piece = ExpandPiece(text.substr(at, end - at));
        if (piece.fault != ExpansionFault::None) {
            return {std::string(text), piece.fault};
        }
        expanded += piece.text;
        if (end == text.size()) {
            return Checked(std::move(expanded));
        }
        expanded += '\0';
        at = end;
    }
}

std::string_view WhyNotCarriedOut(ExpansionFault fault) {
    switch (fault) {
        case ExpansionFault::TooLong:
            return texts::kLineTooLongOnceExpanded;
        case ExpansionFault::OutsideCodePage:
            return texts::kVariableOutsideCodePage;
        case ExpansionFault::NamesACommand:
        case ExpansionFault::None:
            break;
    }
    return texts::kVariableNamesACommand;
}

CarriedOutLine::CarriedOutLine(std::string_view written)
    : text_(written), written_(RecogniseLine(written)) {
    argumentStart_ = static_cast<std::size_t>(written_.argument.data() - written.data());
    argumentSize_ = written_.argument.size();
    const std::size_t start = NamingStart(written, written_);
    if (start == std::string_view::npos) {
        return;
    }
    ExpandedText named = ExpandVariables(written.substr(start));
    fault_ = named.fault;
    if (fault_ != ExpansionFault::None) {
        return;
    }
    text_ = std::string(written.substr(0, start)) + ApartFromTheCommand(written_, named.text) +
            named.text;
    // The argument runs to the end of the line, as the written one did.
    argumentSize_ = text_.size() - argumentStart_;
    if (BringsAServiceWord(written_, Recognised().argument)) {
        fault_ = ExpansionFault::NamesACommand;
        text_ = written;
        argumentSize_ = written_.argument.size();
    }
}

RecognisedLine CarriedOutLine::Recognised() const {
    RecognisedLine carried = written_;
    carried.argument = std::string_view(text_).substr(argumentStart_, argumentSize_);
    return carried;
}

}  // namespace skervo
