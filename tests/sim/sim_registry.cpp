// HKEY_CLASSES_ROOT of the simulated desktop. As on the NT family, a key
// that still has subkeys cannot be deleted.
#include "platform/registry.h"
#include "tests/sim/desktop.h"

namespace skervo::platform {
namespace {

using sim::desktop;

bool HasSubkeys(const std::string& path) {
    const std::string prefix = path + "\\";
    const auto next = desktop.registry.keys.lower_bound(prefix);
    return next != desktop.registry.keys.end() && next->first.starts_with(prefix);
}

}  // namespace

std::int32_t RegCreateKeyExA(RegistryKey, const std::string& subKey, std::uint32_t,
                             std::uint32_t access, RegistryKey& key) {
    const std::string path = sim::Lower(subKey);
    desktop.registry.accessAsked.insert(access);
    if (desktop.registry.refusesCreate.contains(path)) {
        return kErrorAccessDenied;
    }
    // The keys on the way are created too.
    for (std::size_t end = path.find('\\'); end != std::string::npos;
         end = path.find('\\', end + 1)) {
        desktop.registry.keys.try_emplace(path.substr(0, end));
    }
    desktop.registry.keys.try_emplace(path);
    key = RegistryKey{desktop.registry.nextKey++};
    desktop.registry.openKeys[static_cast<std::uintptr_t>(key)] = path;
    return kErrorSuccess;
}

std::int32_t RegSetValueExA(RegistryKey key, const std::string& valueName, std::uint32_t type,
                            const std::string& data, std::uint32_t byteCount) {
    const auto open = desktop.registry.openKeys.find(static_cast<std::uintptr_t>(key));
    if (open == desktop.registry.openKeys.end() || (valueName.empty() && type != kRegSz)) {
        return kErrorKeyNotFound;
    }
    if (desktop.registry.refusesValue.contains(open->second)) {
        return kErrorAccessDenied;
    }
    const std::string bytes(data.c_str(), byteCount);
    if (!valueName.empty()) {
        desktop.registry.namedValues[open->second + "|" + valueName] = {type, bytes};
        return kErrorSuccess;
    }
    desktop.registry.keys[open->second] = bytes;
    return kErrorSuccess;
}

std::int32_t RegCloseKey(RegistryKey key) {
    return desktop.registry.openKeys.erase(static_cast<std::uintptr_t>(key)) == 1
               ? kErrorSuccess
               : kErrorKeyNotFound;
}

std::int32_t RegDeleteKeyA(RegistryKey root, const std::string& subKey) {
    const std::string path = sim::Lower(subKey);
    if (root != kHkeyClassesRoot || !desktop.registry.keys.contains(path)) {
        return kErrorKeyNotFound;
    }
    if (HasSubkeys(path)) {
        return kErrorAccessDenied;
    }
    desktop.registry.keys.erase(path);
    std::erase_if(desktop.registry.namedValues,
                  [&](const auto& value) { return value.first.starts_with(path + "|"); });
    return kErrorSuccess;
}

}  // namespace skervo::platform
