#include "script/line_recognition.h"

#include "common/text_rules.h"

namespace skervo {

bool IsCommentOrEmpty(std::string_view line) {
    return line.empty() || line[0] == '#';
}

RecognisedLine RecogniseLine(std::string_view line) {
    RecognisedLine result;
    result.argument = line;
    const char first = line.empty() ? '\0' : line[0];
    result.closingCommand = first == '>' || first == '<';
    result.noConfirmation =
        line.size() >= 2 && (line.substr(0, 2) == ">>" || line.substr(0, 2) == "<<");

    if (result.closingCommand) {
        result.command = first == '>' ? LineCommand::LaunchToClose : LineCommand::Close;
        result.argument = Trim(line.substr(result.noConfirmation ? 2 : 1));
    } else if (first == '@') {
        result.command = LineCommand::PauseOrWait;
        result.argument = line.substr(1);
    } else if (line == "-") {
        result.command = LineCommand::HideWindow;
    } else if (line == "+") {
        result.command = LineCommand::ShowWindow;
    } else if (first == '&') {
        result.command = LineCommand::Connection;
    }
    return result;
}

}  // namespace skervo
