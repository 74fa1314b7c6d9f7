#pragma once
// Closes or kills applications named by executable path or window-title
// fragment, and the applications the script started, at its end.
#include <cstdint>
#include <string_view>

namespace skervo {

void CloseApplication(std::string_view name);
// Kills the process with NoConfirmation, else closes all its top-level windows.
void CloseProcessById(std::uint32_t processId);
// Last started first; releases every handle of the list.
void CloseStartedApplications();

}  // namespace skervo
