#pragma once
// Switches on a command line: /word or -word, in any case.
#include <string_view>

namespace skervo {

// Whether the parameter is the switch word, its ASCII letters in any case.
bool IsSwitch(std::string_view parameter, std::string_view word);

}  // namespace skervo
