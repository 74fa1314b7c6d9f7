#pragma once
// Switches on a command line: /word or -word, in any case; some carry a
// value after a colon, /word:value.
#include <optional>
#include <string_view>

namespace skervo {

// Whether the parameter is the switch word, its ASCII letters in any case.
bool IsSwitch(std::string_view parameter, std::string_view word);
// The value of "/word:value" (empty after a bare colon); nullopt when the
// parameter is no such switch.
std::optional<std::string_view> SwitchValue(std::string_view parameter, std::string_view word);

}  // namespace skervo
