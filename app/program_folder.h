#pragma once
// Whether the program that /Register would have every double-click run is
// one that others may replace.
#include <string>

namespace skervo {

// Whether users other than administrators may change or replace the program:
// its file or its folder lets Users, Authenticated Users, Everyone or
// INTERACTIVE write or delete. Where the system keeps no security (the 95
// family, a FAT volume) nothing can be told, and the answer is false.
bool OthersMayChangeProgram(const std::string& programPath);

}  // namespace skervo
