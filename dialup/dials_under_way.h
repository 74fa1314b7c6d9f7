#pragma once
// The automatic dials under way. A dial that fails still holds its port
// until it is hung up, which the platform leaves to the program.
#include "platform/dialup.h"

namespace skervo {

// Follows a dial the platform accepted, until it connects or fails.
void FollowDial(platform::RasConnectionHandle dial);
// Hangs up every followed dial that failed or was disconnected, and stops
// following those that connected or are gone.
void HangUpFailedDials();
// Stops following a dial the program hangs up by other means: it is never
// hung up twice, nor another connection given its handle value later.
void ForgetDial(platform::RasConnectionHandle dial);
// Whether the connection is a failed dial the program hung up lately: it may
// still be listed while it ends, and its status refused, which is no fault.
bool WasHungUpAsFailed(platform::RasConnectionHandle connection);
// The connection is up: if its handle value was a failed dial's, that dial
// is over and the value stands for another connection now.
void ForgetHungUpDial(platform::RasConnectionHandle connection);

}  // namespace skervo
