#include "app/program_folder.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "common/text_rules.h"
#include "platform/kernel.h"
#include "platform/security.h"

namespace skervo {
namespace {

// Everyone, INTERACTIVE, Authenticated Users, Users.
constexpr std::array<std::string_view, 4> kOrdinaryUsers = {"S-1-1-0", "S-1-5-4", "S-1-5-11",
                                                            "S-1-5-32-545"};

// Writing a file or adding one to a folder, deleting, and changing who may:
// FILE_WRITE_DATA, FILE_APPEND_DATA, FILE_DELETE_CHILD, DELETE, WRITE_DAC,
// WRITE_OWNER, GENERIC_WRITE, GENERIC_ALL.
constexpr std::uint32_t kChangingRights =
    0x2 | 0x4 | 0x40 | 0x10000 | 0x40000 | 0x80000 | 0x40000000 | platform::kGenericAll;

bool LetsOthersChange(const platform::AccessEntry& entry) {
    return entry.allows && !entry.inheritOnly && (entry.mask & kChangingRights) != 0 &&
           std::find(kOrdinaryUsers.begin(), kOrdinaryUsers.end(), entry.trustee) !=
               kOrdinaryUsers.end();
}

bool OthersMayChange(platform::ProcAddress getFileSecurity, const std::string& path) {
    const auto entries = platform::InvokeGetFileSecurityA(getFileSecurity, path);
    return entries && std::any_of(entries->begin(), entries->end(), LetsOthersChange);
}

// The folder without its last backslash, but for a drive's root.
std::string FolderPath(const std::string& programPath) {
    std::string folder(FolderOf(programPath));
    if (folder.size() > 3 && folder.ends_with('\\')) {
        folder.pop_back();
    }
    return folder;
}

}  // namespace

bool OthersMayChangeProgram(const std::string& programPath) {
    const platform::ProcAddress getFileSecurity =
        platform::GetProcAddress(platform::GetModuleHandleA("advapi32.dll"), "GetFileSecurityA");
    if (platform::IsNull(getFileSecurity)) {
        return false;
    }
    return OthersMayChange(getFileSecurity, programPath) ||
           OthersMayChange(getFileSecurity, FolderPath(programPath));
}

}  // namespace skervo
