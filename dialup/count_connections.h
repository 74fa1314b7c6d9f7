#pragma once
// Counting the machine's dial-up connections. Platform failures are shown to
// the user and the run goes on; only a missing library or function
// (ProgramError) leaves the run.
#include <cstdint>

namespace skervo {

// The number of connections in the connected state, 0 on failure; sets ConnectionUp.
std::int32_t CountConnections();

}  // namespace skervo
