// The remote-access functions of the simulated desktop. A dial's
// notifications run on a real thread, so that races with the script's own
// counts are real too.
#include <algorithm>
#include <stdexcept>
#include <thread>

#include "platform/dialup.h"
#include "tests/sim/desktop.h"

namespace sim {
namespace {

std::vector<std::thread> dialThreads;  // touched by the test's own thread only

// The function the logic calls must be the one it looked up, under either library's name.
void Expect(skervo::platform::ProcAddress function, const std::string& baseName) {
    const std::string& name = desktop.ProcedureName(function);
    if (name != baseName && name != baseName + "A") {
        throw std::logic_error(name + " called as " + baseName);
    }
}

Connection* Find(skervo::platform::RasConnectionHandle handle) {
    auto& connections = desktop.dialup.connections;
    const auto found = std::find_if(connections.begin(), connections.end(), [&](const auto& c) {
        return c.handle == static_cast<std::uintptr_t>(handle);
    });
    return found == connections.end() ? nullptr : &*found;
}

void Notify(std::uintptr_t handle, std::vector<DialStep> steps,
            skervo::platform::RasDialNotifier notifier) {
    constexpr std::uint32_t kWmRasDialEvent = 0xCCCD;
    try {
        for (const DialStep& step : steps) {
            {
                std::lock_guard lock(seamMutex);
                if (Connection* connection = Find(skervo::platform::RasConnectionHandle{handle})) {
                    connection->state = step.state;
                    connection->error = step.error;
                }
            }
            notifier(kWmRasDialEvent, step.state, step.error);
        }
    } catch (const ProcessExit& exit) {
        std::lock_guard lock(seamMutex);
        desktop.dialup.notificationExit = exit.code;
    }
}

}  // namespace

std::set<std::string> RasExports(const std::string& suffix) {
    std::set<std::string> names;
    for (const char* name : {"RasEnumConnections", "RasGetConnectStatus", "RasHangUp", "RasDial",
                             "RasGetEntryDialParams", "RasGetEntryProperties", "RasGetErrorString",
                             "RasEnumEntries"}) {
        names.insert(name + suffix);
    }
    return names;
}

void FinishDials() {
    for (std::thread& thread : dialThreads) {
        thread.join();
    }
    dialThreads.clear();
}

}  // namespace sim

namespace skervo::platform {

using sim::desktop;
using sim::seamMutex;

std::uint32_t InvokeRasEnumConnections(ProcAddress function, std::span<RasConnection> records,
                                       std::uint32_t& recordCount) {
    std::lock_guard lock(seamMutex);
    sim::Expect(function, "RasEnumConnections");
    const auto& connections = desktop.dialup.connections;
    if (desktop.dialup.enumerationRefusal != 0) {
        return desktop.dialup.enumerationRefusal;
    }
    if (connections.size() > records.size()) {
        return sim::kRasBufferTooSmall;
    }
    for (std::size_t index = 0; index < connections.size(); ++index) {
        records[index].handle = RasConnectionHandle{connections[index].handle};
    }
    recordCount = static_cast<std::uint32_t>(connections.size());
    if (desktop.dialup.onEnumeration) {
        desktop.dialup.onEnumeration();
    }
    return 0;
}

std::uint32_t InvokeRasGetConnectStatus(ProcAddress function, RasConnectionHandle connection,
                                        RasConnectionStatus& status) {
    std::lock_guard lock(seamMutex);
    sim::Expect(function, "RasGetConnectStatus");
    const sim::Connection* found = sim::Find(connection);
    if (!found) {
        return 6;  // ERROR_INVALID_HANDLE
    }
    status = {found->state, found->error};
    return found->statusRefusal;
}

std::uint32_t InvokeRasHangUp(ProcAddress function, RasConnectionHandle connection) {
    std::lock_guard lock(seamMutex);
    sim::Expect(function, "RasHangUp");
    const sim::Connection* found = sim::Find(connection);
    if (!found) {
        return 6;  // ERROR_INVALID_HANDLE
    }
    desktop.dialup.hungUp.push_back(found->handle);
    if (found->hangUpRefusal != 0) {
        return found->hangUpRefusal;
    }
    const std::uintptr_t handle = found->handle;
    std::erase_if(desktop.dialup.connections,
                  [&](const sim::Connection& c) { return c.handle == handle; });
    return 0;
}

std::uint32_t InvokeRasDial(ProcAddress function, const RasDialParameters& parameters,
                            RasDialNotifier notifier, RasConnectionHandle& connection) {
    std::lock_guard lock(seamMutex);
    sim::Expect(function, "RasDial");
    const sim::PhoneBookEntry& entry = desktop.dialup.phoneBook.at(parameters.entryName);
    if (entry.dialRefusal != 0 && !entry.refusalHoldsPort) {
        return entry.dialRefusal;
    }
    const std::uintptr_t handle = desktop.dialup.nextConnection++;
    desktop.dialup.connections.push_back(
        {.handle = handle, .state = sim::kRasCsOpenPort, .error = entry.dialRefusal});
    connection = RasConnectionHandle{handle};
    if (entry.dialRefusal != 0) {
        return entry.dialRefusal;
    }
    desktop.dialup.dials.push_back(parameters);
    sim::dialThreads.emplace_back(sim::Notify, handle, entry.steps, notifier);
    return 0;
}

std::uint32_t InvokeRasGetEntryDialParams(ProcAddress function, RasDialParameters& parameters,
                                          bool& passwordStored) {
    std::lock_guard lock(seamMutex);
    sim::Expect(function, "RasGetEntryDialParams");
    if (parameters.entryName.size() > kRasMaxEntryName) {
        throw std::logic_error("the entry name overruns the record");
    }
    const auto found = desktop.dialup.phoneBook.find(parameters.entryName);
    if (found == desktop.dialup.phoneBook.end()) {
        return 623;  // ERROR_CANNOT_FIND_PHONEBOOK_ENTRY
    }
    parameters.userName = found->second.userName;
    passwordStored = true;
    return 0;
}

std::uint32_t InvokeRasGetEntryProperties(ProcAddress function, const std::string& entryName) {
    std::lock_guard lock(seamMutex);
    sim::Expect(function, "RasGetEntryProperties");
    return desktop.dialup.phoneBook.contains(entryName) ? 603 : 623;
}

std::uint32_t InvokeRasEnumEntries(ProcAddress function, std::vector<std::string>& names) {
    std::lock_guard lock(seamMutex);
    sim::Expect(function, "RasEnumEntries");
    for (const auto& [name, entry] : desktop.dialup.phoneBook) {
        names.push_back(name);
    }
    return 0;
}

std::uint32_t InvokeRasGetErrorString(ProcAddress function, std::uint32_t error, std::string& text,
                                      std::uint32_t size) {
    std::lock_guard lock(seamMutex);
    sim::Expect(function, "RasGetErrorString");
    const auto found = desktop.dialup.errorTexts.find(error);
    if (found == desktop.dialup.errorTexts.end()) {
        return 87;  // ERROR_INVALID_PARAMETER
    }
    text = found->second.substr(0, size - 1);
    return 0;
}

}  // namespace skervo::platform
