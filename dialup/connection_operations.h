#pragma once
// Counting, dialling and hanging up the machine's dial-up connections.
// Platform failures are shown to the user and the run goes on; only a
// missing library or function (ProgramError) leaves the run.
#include <cstdint>

namespace skervo {

// The number of connections in the connected state, 0 on failure; sets ConnectionUp.
std::int32_t CountConnections();
// Dials ConnectionName without a dialog; returns once the platform has accepted the dial.
void DialEntry();
// The dial's progress, called by the platform on a thread of its own.
void DialNotification(std::uint32_t message, std::uint32_t state, std::uint32_t error);
// Hangs every connection up, whatever its state, without waiting for the ends.
void HangUpAll();

}  // namespace skervo
