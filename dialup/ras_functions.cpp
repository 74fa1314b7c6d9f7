#include "dialup/ras_functions.h"

#include "dialup/ras_binding.h"

namespace skervo {

std::uint32_t RasEnumConnections(std::span<platform::RasConnection> records,
                                 std::uint32_t& recordCount) {
    return platform::InvokeRasEnumConnections(BindRasFunction("RasEnumConnections"), records,
                                              recordCount);
}

std::uint32_t RasGetConnectStatus(platform::RasConnectionHandle connection,
                                  platform::RasConnectionStatus& status) {
    return platform::InvokeRasGetConnectStatus(BindRasFunction("RasGetConnectStatus"), connection,
                                               status);
}

std::uint32_t RasHangUp(platform::RasConnectionHandle connection) {
    return platform::InvokeRasHangUp(BindRasFunction("RasHangUp"), connection);
}

std::uint32_t RasDial(const platform::RasDialParameters& parameters,
                      platform::RasDialNotifier notifier,
                      platform::RasConnectionHandle& connection) {
    return platform::InvokeRasDial(BindRasFunction("RasDial"), parameters, notifier, connection);
}

std::uint32_t RasGetEntryDialParams(platform::RasDialParameters& parameters, bool& passwordStored) {
    return platform::InvokeRasGetEntryDialParams(BindRasFunction("RasGetEntryDialParams"),
                                                 parameters, passwordStored);
}

std::uint32_t RasGetErrorString(std::uint32_t error, std::string& text, std::uint32_t size) {
    return platform::InvokeRasGetErrorString(BindRasFunction("RasGetErrorString"), error, text,
                                             size);
}

}  // namespace skervo
