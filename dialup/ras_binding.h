#pragma once
// Run-time binding of the remote-access functions, so that the program starts
// on systems without dial-up networking and fails only at a connection line.
// The library chosen stays loaded for the life of the process: a dial's
// notification thread may still be in it when the run ends.
#include <string_view>

#include "platform/types.h"

namespace skervo {

// The address of a function, by its base name (without the A suffix), in the
// library the run's first lookup chose (see dialup/ras_library.h). Every
// failure raises a ProgramError, which ends the program; the answer is never
// null.
platform::ProcAddress BindRasFunction(std::string_view baseName);

}  // namespace skervo
