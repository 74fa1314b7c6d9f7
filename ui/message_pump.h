#pragma once
// The message pump that keeps the status window alive, and the step texts it shows.
#include <string_view>

namespace skervo {

// Dispatches the status window's pending messages; false once the window is gone.
bool PollMessages();
// The same between two lines of the script, where a silent run looks only
// every so often: its hidden window has nothing urgent to hear.
bool PollMessagesBetweenLines();

enum class StepChange {
    NewStep,   // the step shown so far moves to the previous-step line
    SameStep,  // the step under way is only refreshed
};

// Makes text the step under way.
void ShowStep(std::string_view text, StepChange change = StepChange::NewStep);

}  // namespace skervo
