#pragma once
// Which command a trimmed script line is.
#include <string_view>

namespace skervo {

enum class LineCommand {
    LaunchToClose,  // >x and >>x
    Close,          // <x and <<x
    PauseOrWait,    // @x
    HideWindow,     // -
    ShowWindow,     // +
    Connection,     // &...
    Plain,
};

struct RecognisedLine {
    LineCommand command = LineCommand::Plain;
    // What the command works on: trimmed after > and <, as written after @,
    // the whole line otherwise.
    std::string_view argument;
    bool closingCommand = false;  // begins with > or <
    bool noConfirmation = false;  // begins with >> or <<
};

// Lines the runner skips: nothing is carried out and nothing polled.
bool IsCommentOrEmpty(std::string_view line);

RecognisedLine RecogniseLine(std::string_view line);

}  // namespace skervo
