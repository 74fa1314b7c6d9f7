#pragma once
// The simulated service control manager.
#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/services.h"

namespace sim {

struct Service {
    std::uint32_t state = skervo::platform::kServiceStopped;
    std::uint32_t delegated = 0;  // what a user who is no administrator may do with it
    bool refusesStart = false;
    bool refusesStop = false;
    std::uint32_t refusal = 1058;  // the error a refused start or stop leaves: disabled
    // Status queries that still see a start or stop pending before it settles.
    int pendingQueries = 0;
    // A start settles at running, or back at stopped for a service that
    // fails, with its reason.
    bool failsToStart = false;
    std::uint32_t exitCode = 1066;  // its own reason, which follows
    std::uint32_t specificExitCode = 42;
    // Numbers (from 1) of the status queries that fail.
    std::set<int> failingQueries{};
    int queries = 0;
};

struct ServiceManager {
    bool opens = true;
    bool administrator = true;
    std::map<std::string, Service> services;  // by lower-case name
    // The services asked to start or stop, by lower-case name.
    std::vector<std::string> starts;
    std::vector<std::string> stops;
    std::map<std::uintptr_t, std::string> openHandles;  // lower-case name, empty for the manager

    std::size_t OpenCount() const { return openHandles.size(); }
};

}  // namespace sim
