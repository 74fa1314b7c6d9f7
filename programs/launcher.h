#pragma once
// Starts the program that a script line names.
#include <string_view>

namespace skervo {

// True when a process was created or the text was a service command.
bool LaunchCommand(std::string_view text, bool wait, bool dial);
// LaunchCommand, and the error box when nothing was started.
void LaunchOrReport(std::string_view text, bool wait, bool dial);
// LaunchCommand for a plain line: no wait, no message.
bool TryLaunch(std::string_view text);

}  // namespace skervo
