#pragma once
// The @x line's pause: a count of seconds with its countdown steps.
#include <string_view>

namespace skervo {

// Pauses for runState.PauseMilliseconds; countText is the line after the @.
void RunPause(std::string_view countText);

}  // namespace skervo
