#pragma once
// The checker's report on its standard output: readable in a console, and
// in the ANSI code page wherever it is redirected.
#include <string_view>

namespace skervo {

// Writes text in the ANSI code page: to a console in UTF-16 (in its OEM code
// page on the 95 family, which writes no UTF-16 there), elsewhere as it is.
// False when any of it could not be written.
bool WriteStandardOutput(std::string_view text);

}  // namespace skervo
