#pragma once
// The end of the program on an error raised: a task-modal box, then the end
// of the process with exit code 1.
#include "common/program_error.h"

namespace skervo {

[[noreturn]] void EndWithUnhandledError(const ProgramError& error);
// Ends the process at the end of the run, with the run's exit code, the
// journal's closing line and the run's event, unless an unhandled error on a
// dial's notification thread is ending it: then with that error's exit code,
// once its box has been answered.
[[noreturn]] void EndProcessNormally();

}  // namespace skervo
