#pragma once
// The count of an @x line: what makes it a pause rather than a start-and-wait.
#include <cstdint>
#include <optional>
#include <string_view>

namespace skervo {

// The standard 32-bit integer conversion: an optional sign, then decimal
// digits, or hexadecimal ones after $, x, X, 0x or 0X; nothing may follow.
std::optional<std::int32_t> ParseCount(std::string_view text);

// The seconds of a pause, when the text after the @ is a count once trimmed;
// otherwise the line starts that text and waits for its end.
std::optional<std::int32_t> PauseSeconds(std::string_view atArgument);

}  // namespace skervo
