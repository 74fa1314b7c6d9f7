#pragma once
// Starts the program that a script line names.
#include <string_view>

namespace skervo {

struct LaunchMode {
    // Wait until the started program has ended.
    bool waitForEnd = false;
    // The text starts the system's dial-up dialog: its step names the
    // connection, and the service words are not looked for.
    bool dialDialog = false;
};

// True when a process was created or the text was a service command.
bool LaunchCommand(std::string_view text, LaunchMode mode);
// LaunchCommand, and the error box when nothing was started; true when something was.
bool LaunchOrReport(std::string_view text, LaunchMode mode = {});
// LaunchCommand for a plain line: no wait, no message.
bool TryLaunch(std::string_view text);

}  // namespace skervo
