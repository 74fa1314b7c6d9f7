#pragma once
// The lines that begin with &.
#include <string_view>

namespace skervo {

// Carries out a trimmed line that begins with &.
void RunConnectionCommand(std::string_view line);

}  // namespace skervo
