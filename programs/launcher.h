#pragma once
// Starts the program that a script line names.
#include <string>
#include <string_view>

namespace skervo {

struct CommandSplit {
    std::string program;    // without its quotes
    std::string arguments;  // from the blank where the text was split, or empty
};

// Splits at the first blank that is not inside the first pair of quotes.
CommandSplit SplitCommandLine(std::string_view text);

// True when a process was created or the text was a service command.
bool LaunchCommand(std::string_view text, bool wait, bool dial);
// LaunchCommand, and the error box when nothing was started.
void LaunchOrReport(std::string_view text, bool wait, bool dial);
// LaunchCommand for a plain line: no wait, no message.
bool TryLaunch(std::string_view text);

}  // namespace skervo
