#pragma once
// Closes or kills applications named by executable path or window-title
// fragment, and the applications the script started, at its end.
#include <cstdint>
#include <string_view>

namespace skervo {

// By path, kills every process of the file with NoConfirmation, else closes
// all their top-level windows; by title, closes the windows.
void CloseApplication(std::string_view name);
// Last started first; releases every handle of the list.
void CloseStartedApplications();

}  // namespace skervo
