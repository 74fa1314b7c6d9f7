#pragma once
// What the status window shows: its picture, the connection plug, the
// script path, the previous step and the step under way.
#include "platform/types.h"

namespace skervo {

void PaintStatusWindow(platform::WindowHandle window);

}  // namespace skervo
