#pragma once
// Calls of the remote-access (dial-up) functions, which the program binds by
// name. The records are the platform's; here they carry only the fields the
// program uses, and the platform side fills its own layout from them.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/types.h"

namespace skervo::platform {

enum class RasConnectionHandle : std::uintptr_t {};

inline constexpr std::uint32_t kRasCsConnected = 0x2000;
inline constexpr std::uint32_t kRasCsDisconnected = 0x2001;
// The entry-name field of the records holds this many characters and a terminator.
inline constexpr std::size_t kRasMaxEntryName = 256;

// RASCONN, as far as the program reads it.
struct RasConnection {
    RasConnectionHandle handle{};
};

// RASCONNSTATUS, as far as the program reads it.
struct RasConnectionStatus {
    std::uint32_t state = 0;
    std::uint32_t error = 0;  // why the connection failed, or 0
};

// RASDIALPARAMS: the program sets the entry name; the phone-book lookup fills
// in the rest, and the dial takes all of it back unchanged.
struct RasDialParameters {
    std::string entryName;
    std::string phoneNumber;
    std::string callbackNumber;
    std::string userName;
    std::string password;
    std::string domain;
    std::uint32_t subEntry = 0;
    std::uintptr_t callbackId = 0;
};

// The dial's progress (RasDialFunc: message, connection state, error code),
// called on a thread of the platform's own.
using RasDialNotifier = void (*)(std::uint32_t message, std::uint32_t state, std::uint32_t error);

// Each call answers the function's own result code: 0 or a remote-access error.

// Enumerates into as many records as the span holds; recordCount is how many were written.
std::uint32_t InvokeRasEnumConnections(ProcAddress function, std::span<RasConnection> records,
                                       std::uint32_t& recordCount);
std::uint32_t InvokeRasGetConnectStatus(ProcAddress function, RasConnectionHandle connection,
                                        RasConnectionStatus& status);
std::uint32_t InvokeRasHangUp(ProcAddress function, RasConnectionHandle connection);
// No dial extensions, the default phone book, a notifier of type 0.
std::uint32_t InvokeRasDial(ProcAddress function, const RasDialParameters& parameters,
                            RasDialNotifier notifier, RasConnectionHandle& connection);
// The default phone book; parameters.entryName is at most kRasMaxEntryName characters.
std::uint32_t InvokeRasGetEntryDialParams(ProcAddress function, RasDialParameters& parameters,
                                          bool& passwordStored);
// Asks only the size of the entry's record in the default phone book: 0 or
// ERROR_BUFFER_TOO_SMALL (603) for an entry that exists, 623 for one that
// does not. Nothing of the entry, and no password, is read.
std::uint32_t InvokeRasGetEntryProperties(ProcAddress function, const std::string& entryName);
// The names of the default phone book's entries.
std::uint32_t InvokeRasEnumEntries(ProcAddress function, std::vector<std::string>& names);
// text receives at most size - 1 characters, up to the terminator.
std::uint32_t InvokeRasGetErrorString(ProcAddress function, std::uint32_t error, std::string& text,
                                      std::uint32_t size);

}  // namespace skervo::platform
