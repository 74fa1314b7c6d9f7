#pragma once
// The automatic dials under way. A dial that fails still holds its port
// until it is hung up, which the platform leaves to the program.
#include "platform/dialup.h"

namespace skervo {

// Follows a dial the platform accepted, until it connects or fails.
void FollowDial(platform::RasConnectionHandle dial);
// Hangs up every followed dial that failed, and stops following those that
// connected or are gone.
void HangUpFailedDials();

}  // namespace skervo
