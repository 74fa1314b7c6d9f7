#pragma once
// Which family of Windows the program runs on: the two differ in their dial-up dialog.

namespace skervo {

// Whether the system is of the Windows NT family. Without a version query the
// process cannot tell which dial-up dialog to use, and ends here.
bool IsWindowsNT();

}  // namespace skervo
