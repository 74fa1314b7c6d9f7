#pragma once
// The @x line's pause: a count of seconds with its countdown steps.
#include <cstdint>
#include <optional>
#include <string_view>

namespace skervo {

// The standard 32-bit integer conversion: an optional sign, then decimal
// digits, or hexadecimal ones after $, x, X, 0x or 0X; nothing may follow.
std::optional<std::int32_t> ParseCount(std::string_view text);

// Pauses for runState.PauseMilliseconds; countText is the line after the @.
void RunPause(std::string_view countText);

}  // namespace skervo
