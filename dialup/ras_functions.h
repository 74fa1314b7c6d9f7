#pragma once
// The six remote-access functions the program uses, under their own names.
// Each looks its function up again on every call (only the library choice is
// kept) and answers the function's result code unchanged: 0 or an error code.
#include <cstdint>
#include <span>
#include <string>

#include "platform/dialup.h"

namespace skervo {

std::uint32_t RasEnumConnections(std::span<platform::RasConnection> records,
                                 std::uint32_t& recordCount);
std::uint32_t RasGetConnectStatus(platform::RasConnectionHandle connection,
                                  platform::RasConnectionStatus& status);
std::uint32_t RasHangUp(platform::RasConnectionHandle connection);
std::uint32_t RasDial(const platform::RasDialParameters& parameters,
                      platform::RasDialNotifier notifier,
                      platform::RasConnectionHandle& connection);
std::uint32_t RasGetEntryDialParams(platform::RasDialParameters& parameters, bool& passwordStored);
std::uint32_t RasGetErrorString(std::uint32_t error, std::string& text, std::uint32_t size);

}  // namespace skervo
