#pragma once
// The shell's default action (what a double-click does) on a document or folder.
#include <string_view>

#include "platform/types.h"

namespace skervo {

// True when the shell accepted the item's default command.
bool RunDefaultAction(std::string_view path, platform::WindowHandle owner);

}  // namespace skervo
