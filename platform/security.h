#pragma once
// The security of files and folders, and of the program's own token. Every
// function here is found by name in advapi32.dll: the 95 family's lacks them.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace skervo::platform {

inline constexpr std::uint32_t kGenericAll = 0x10000000;

// One entry of an access list, as far as the program reads it.
struct AccessEntry {
    bool allows = true;   // else it denies
    std::string trustee;  // the SID, in its text form: S-1-1-0
    std::uint32_t mask = 0;
    bool inheritOnly = false;  // it applies to what the folder will hold, not to the folder
};

// A file's or a folder's owner and access list.
struct FileSecurity {
    std::string owner;  // the SID, in its text form
    std::vector<AccessEntry> entries;
};

// Read with GetFileSecurityW; nullopt when the system keeps no security for
// it (the 95 family, a FAT volume) or cannot read it. A missing list, which
// grants everybody everything, comes as one entry allowing everything to
// Everyone.
std::optional<FileSecurity> InvokeGetFileSecurityW(ProcAddress function, const std::wstring& path);

// The program's own token, opened to query it with OpenProcessToken; null on failure.
KernelHandle InvokeOpenProcessToken(ProcAddress function);
// What GetTokenInformation says of a token: its user; whether it is
// elevated (nullopt before Vista, which had no such question); the groups
// it holds enabled. SIDs in their text form.
std::optional<std::string> InvokeGetTokenUser(ProcAddress function, KernelHandle token);
std::optional<bool> InvokeGetTokenElevation(ProcAddress function, KernelHandle token);
std::optional<std::vector<std::string>> InvokeGetTokenEnabledGroups(ProcAddress function,
                                                                    KernelHandle token);

}  // namespace skervo::platform
