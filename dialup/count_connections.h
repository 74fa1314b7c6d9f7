#pragma once
// Counting the machine's dial-up connections. Platform failures are shown to
// the user and the run goes on; only a missing library or function
// (ProgramError) leaves the run.
#include <cstdint>
#include <optional>

namespace skervo {

// The number of connections in the connected state; sets ConnectionUp.
// nullopt when the system refused the listing, which is reported: a wait
// that counts ends there rather than report it again at every turn.
std::optional<std::int32_t> CountConnections();

}  // namespace skervo
