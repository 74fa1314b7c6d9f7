#pragma once
// The registry, under the roots the program writes to.
#include <cstdint>
#include <string>

#include "platform/owned.h"
#include "platform/types.h"

namespace skervo::platform {

// HKEY_CLASSES_ROOT is (HKEY)(LONG)0x80000000: sign-extended on 64 bits.
inline constexpr RegistryKey kHkeyClassesRoot{
    static_cast<std::uintptr_t>(static_cast<std::intptr_t>(INT32_MIN))};
inline constexpr std::uint32_t kRegOptionNonVolatile = 0;
inline constexpr std::uint32_t kKeySetValue = 0x0002;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::int32_t kErrorSuccess = 0;
inline constexpr std::int32_t kErrorKeyNotFound = 2;  // ERROR_FILE_NOT_FOUND

// No class, no security attributes; creates the key or opens it when it exists.
std::int32_t RegCreateKeyExA(RegistryKey root, const std::string& subKey, std::uint32_t options,
                             std::uint32_t access, RegistryKey& key);
// Hands the registry byteCount bytes of data; c_str() makes the zero after it available.
std::int32_t RegSetValueExA(RegistryKey key, const std::string& valueName, std::uint32_t type,
                            const std::string& data, std::uint32_t byteCount);
std::int32_t RegCloseKey(RegistryKey key);
std::int32_t RegDeleteKeyA(RegistryKey root, const std::string& subKey);

using OwnedKey = Owned<RegistryKey, RegCloseKey>;

}  // namespace skervo::platform
