#include "script/variables.h"

#include <optional>

#include "common/ansi_text.h"
#include "platform/kernel.h"
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
            return written.starts_with("&&") ? 2 : 1;
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

}  // namespace

ExpandedText ExpandVariables(std::string_view text) {
    if (text.find('%') == std::string_view::npos) {
        return {std::string(text)};
    }
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
    text_ = std::string(written.substr(0, start)) + named.text;
    // The argument runs to the end of the line, as the written one did.
    argumentSize_ = text_.size() - argumentStart_;
}

RecognisedLine CarriedOutLine::Recognised() const {
    RecognisedLine carried = written_;
    carried.argument = std::string_view(text_).substr(argumentStart_, argumentSize_);
    return carried;
}

}  // namespace skervo
