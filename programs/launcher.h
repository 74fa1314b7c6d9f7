#pragma once
// Starts the program that a script line names.
#include <string>
#include <string_view>

namespace skervo {

struct LaunchMode {
    // Wait until the started program has ended.
    bool waitForEnd = false;
    // The text starts the system's dial-up dialog: its step names the
    // connection, and the service words are not looked for.
    bool dialDialog = false;
};

// A process was created, or the text was a service command; else why not,
// in the journal's words.
struct LaunchOutcome {
    bool launched = false;
    std::string whyNot{};
    explicit operator bool() const { return launched; }
};

LaunchOutcome LaunchCommand(std::string_view text, LaunchMode mode);
// LaunchCommand, and the error box when nothing was started; true when something was.
bool LaunchOrReport(std::string_view text, LaunchMode mode = {});
// LaunchCommand for a plain line: no wait, no message.
LaunchOutcome TryLaunch(std::string_view text);

}  // namespace skervo
