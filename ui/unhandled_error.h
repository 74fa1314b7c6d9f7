#pragma once
// The last resort for an error that nothing caught: a task-modal box, then
// the end of the process with exit code 1.
#include "common/program_error.h"

namespace skervo {

[[noreturn]] void EndWithUnhandledError(const ProgramError& error);

}  // namespace skervo
