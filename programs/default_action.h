#pragma once
// The shell's default action (what a double-click does) on a document or folder.
#include <string_view>

#include "platform/types.h"

namespace skervo {

// Whether the shell may ask or warn in a box of its own: nobody would
// answer one in a silent run.
enum class ShellBoxes { Allowed, None };

// True when the shell accepted the item's default command.
bool RunDefaultAction(std::string_view path, platform::WindowHandle owner,
                      ShellBoxes boxes = ShellBoxes::Allowed);

}  // namespace skervo
