// The registry, forwarded to the real functions.
#include "platform/registry.h"

#include <windows.h>

#include "platform/win32/native.h"

namespace p = skervo::platform;
static_assert(static_cast<std::uintptr_t>(p::kHkeyClassesRoot) ==
              static_cast<ULONG_PTR>(static_cast<LONG>(0x80000000)));
static_assert(p::kRegOptionNonVolatile == REG_OPTION_NON_VOLATILE);
static_assert(p::kKeySetValue == KEY_SET_VALUE && p::kRegSz == REG_SZ);
static_assert(p::kRegDword == REG_DWORD);
static_assert(p::kErrorSuccess == ERROR_SUCCESS);
static_assert(p::kErrorKeyNotFound == ERROR_FILE_NOT_FOUND);

namespace skervo::platform {
std::int32_t RegCreateKeyExA(RegistryKey root, const std::string& subKey, std::uint32_t options,
                             std::uint32_t access, RegistryKey& key) {
    HKEY native = nullptr;
    const LONG result = ::RegCreateKeyExA(ToNative(root), subKey.c_str(), 0, nullptr, options,
                                          access, nullptr, &native, nullptr);
    key = FromNative<RegistryKey>(native);
    return result;
}

std::int32_t RegSetValueExA(RegistryKey key, const std::string& valueName, std::uint32_t type,
                            const std::string& data, std::uint32_t byteCount) {
    return ::RegSetValueExA(ToNative(key), valueName.c_str(), 0, type,
                            reinterpret_cast<const BYTE*>(data.c_str()), byteCount);
}

std::int32_t RegCloseKey(RegistryKey key) {
    return ::RegCloseKey(ToNative(key));
}

std::int32_t RegDeleteKeyA(RegistryKey root, const std::string& subKey) {
    return ::RegDeleteKeyA(ToNative(root), subKey.c_str());
}

}  // namespace skervo::platform
