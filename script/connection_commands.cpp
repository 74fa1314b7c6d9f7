#include "script/connection_commands.h"

namespace skervo {

// Not built yet: connection lines do nothing.
void RunConnectionCommand() {}

// Not built yet: no application is remembered and no connection dialled,
// so there is nothing to wait for or close.
void FinishRun() {}

}  // namespace skervo
