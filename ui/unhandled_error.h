#pragma once
// The end of the program on an error raised: a task-modal box, then the end
// of the process with exit code 1.
#include "common/program_error.h"

namespace skervo {

[[noreturn]] void EndWithUnhandledError(const ProgramError& error);

}  // namespace skervo
