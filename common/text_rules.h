#pragma once
// Text rules shared by the whole program.
#include <string_view>

namespace skervo {

// Removes every character with a code up to 32 at both ends.
std::string_view Trim(std::string_view text);

}  // namespace skervo
