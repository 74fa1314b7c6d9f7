#pragma once
// The message pump that keeps the status window alive, and the step texts it shows.
#include <string_view>

namespace skervo {

// Dispatches the status window's pending messages; false once the window is gone.
bool PollMessages();

// Makes text the step under way; keepPrevious moves the former step to the
// previous-step line.
void ShowStep(std::string_view text, bool keepPrevious);

}  // namespace skervo
