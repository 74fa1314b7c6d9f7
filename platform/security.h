#pragma once
// The access list of a file or folder.
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

// The access list of a file or folder, read with a GetFileSecurityA found by
// name (the 95 family's advapi32.dll may lack it); nullopt when the system
// keeps no security for it (the 95 family, a FAT volume) or cannot read it.
// A missing list, which grants everybody everything, comes as one entry
// allowing everything to Everyone.
std::optional<std::vector<AccessEntry>> InvokeGetFileSecurityA(ProcAddress function,
                                                               const std::string& path);

}  // namespace skervo::platform
