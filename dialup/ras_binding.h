#pragma once
// Run-time binding of the remote-access functions, so that the program starts
// on systems without dial-up networking and fails only at a connection line.
#include <string_view>

#include "platform/types.h"

namespace skervo {

// The address of a function, by its base name (without the A suffix), in the
// library the first lookup chose: rasapi32.dll with the suffix, or rnaph.dll
// without it. Every failure raises ProgramError; the answer is never null.
platform::ProcAddress BindRasFunction(std::string_view baseName);

// At the end of the program. Only rnaph.dll is released: rasapi32.dll is
// left to the end of the process, as a dial's thread may still be in it.
void ReleaseRasLibrary();

}  // namespace skervo
