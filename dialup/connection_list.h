#pragma once
// One enumeration of the machine's connections.
#include <cstdint>
#include <vector>

#include "platform/dialup.h"

namespace skervo {

// The records an enumeration first offers the platform. More connections
// make it refuse with its buffer-too-small code, and it is asked again with
// twice the room, up to the most it is ever offered.
inline constexpr std::size_t kConnectionRecords = 10;
inline constexpr std::size_t kMostConnectionRecords = 10240;
inline constexpr std::uint32_t kRasBufferTooSmall = 603;

struct ConnectionList {
    std::uint32_t code = 0;  // the enumeration's result code
    std::vector<platform::RasConnectionHandle> handles;
};

// Each call enumerates into records of its own: a count on the dial's
// notification thread and one on the main thread never share an area.
ConnectionList EnumerateConnections();

}  // namespace skervo
