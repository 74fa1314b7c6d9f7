#pragma once
// The remote-access side of the simulated desktop: a phone book, the
// machine's connections, refusals that a test arranges, and dials whose
// notifications come on a thread of their own, as the platform's do.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/dialup.h"

namespace sim {

inline constexpr std::uint32_t kRasCsOpenPort = 0;
inline constexpr std::uint32_t kRasCsAuthenticate = 5;
inline constexpr std::uint32_t kRasCsConnected = 0x2000;
inline constexpr std::uint32_t kRasBufferTooSmall = 603;

// One notification of a dial: the connection moves to state, then the notifier is called.
struct DialStep {
    std::uint32_t state = kRasCsConnected;
    std::uint32_t error = 0;
};

struct PhoneBookEntry {
    std::string userName{};         // filled in by the lookup, and expected back by the dial
    std::uint32_t dialRefusal = 0;  // the dial's answer: no connection when not 0
    std::vector<DialStep> steps{};
    bool refusalHoldsPort = false;  // the refused dial still gives a connection handle
};

struct Connection {
    std::uintptr_t handle = 0;
    std::uint32_t state = kRasCsConnected;
    std::uint32_t error = 0;  // why it failed: held until it is hung up
    std::uint32_t statusRefusal = 0;
    std::uint32_t hangUpRefusal = 0;
};

struct Dialup {
    std::map<std::string, PhoneBookEntry> phoneBook;
    std::vector<Connection> connections;
    std::uint32_t enumerationRefusal = 0;
    std::map<std::uint32_t, std::string> errorTexts;  // the codes the platform has a text for
    std::vector<skervo::platform::RasDialParameters> dials;  // each dial accepted
    std::vector<std::uintptr_t> hungUp;                      // a connection hung up is gone at once
    std::optional<std::uint32_t> notificationExit;           // a notification ended the process
    std::function<void()> onEnumeration;                     // once the records are written
    std::uintptr_t nextConnection = 0x5000;
};

// The functions under the names of one library: suffix "A" for
// rasapi32.dll, none for rnaph.dll.
std::set<std::string> RasExports(const std::string& suffix);

// Waits until every dial has sent all its notifications.
void FinishDials();

}  // namespace sim
