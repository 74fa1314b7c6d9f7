#pragma once
// The simulated HKEY_CLASSES_ROOT: key paths and their default values.
#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>

namespace sim {

struct Registry {
    // Lower-case key path -> default value, as the bytes handed to the
    // registry (their terminating zero included); empty for none.
    std::map<std::string, std::string> keys;
    // "key path|value name" -> the value's type and bytes, for named values.
    std::map<std::string, std::pair<std::uint32_t, std::string>> namedValues;
    std::set<std::uint32_t> accessAsked;
    std::set<std::string> refusesCreate;  // lower-case paths that cannot be created or opened
    std::set<std::string> refusesValue;   // lower-case paths whose value cannot be set
    std::map<std::uintptr_t, std::string> openKeys;
    std::uintptr_t nextKey = 0x4000;

    std::size_t OpenCount() const { return openKeys.size(); }
};

}  // namespace sim
