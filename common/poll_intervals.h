#pragma once
// How long the waits of a run sleep between two looks at what they wait for.
#include <cstdint>

namespace skervo {

// A pause, the wait for a connection and the wait for a service's state.
inline constexpr std::uint32_t kPollIntervalMilliseconds = 200;
// The waits for no connection (&> and the end of the run).
inline constexpr std::uint32_t kDisconnectionPollMilliseconds = 500;

}  // namespace skervo
