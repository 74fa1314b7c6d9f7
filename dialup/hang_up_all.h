#pragma once
// Hanging up the machine's dial-up connections. Platform failures are shown to
// the user and the run goes on; only a missing library or function
// (ProgramError) leaves the run.

namespace skervo {

// Hangs every connection up, whatever its state, without waiting for the ends.
void HangUpAll();

}  // namespace skervo
