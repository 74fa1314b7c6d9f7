// The access list of a file or folder, from its security descriptor.
#include "platform/security.h"

#include <windows.h>

#include "platform/win32/native.h"

static_assert(skervo::platform::kGenericAll == GENERIC_ALL);

namespace skervo::platform {
namespace {

// S-1-5-32-545: written from the SID's own fields, since ConvertSidToStringSidA
// came with Windows 2000.
std::string SidText(const SID& sid) {
    std::uint64_t authority = 0;
    for (const BYTE part : sid.IdentifierAuthority.Value) {
        authority = (authority << 8) | part;
    }
    std::string text = "S-" + std::to_string(sid.Revision) + "-" + std::to_string(authority);
    for (BYTE index = 0; index < sid.SubAuthorityCount; ++index) {
        // Appended: "-" + a temporary is an overlapping copy to GCC 12 at -O3.
        text.append("-").append(std::to_string(sid.SubAuthority[index]));
    }
    return text;
}

// The entries that allow or deny; others (audits, objects) are left out.
std::vector<AccessEntry> EntriesOf(const ACL& list) {
    std::vector<AccessEntry> entries;
    const auto* at = reinterpret_cast<const BYTE*>(&list) + sizeof(ACL);
    const auto* end = reinterpret_cast<const BYTE*>(&list) + list.AclSize;
    for (WORD index = 0; index < list.AceCount && at + sizeof(ACE_HEADER) <= end; ++index) {
        const auto& header = *reinterpret_cast<const ACE_HEADER*>(at);
        if (header.AceSize < sizeof(ACE_HEADER) || at + header.AceSize > end) {
            break;
        }
        const bool allows = header.AceType == ACCESS_ALLOWED_ACE_TYPE;
        if ((allows || header.AceType == ACCESS_DENIED_ACE_TYPE) &&
            header.AceSize >= sizeof(ACCESS_ALLOWED_ACE)) {
            const auto& ace = *reinterpret_cast<const ACCESS_ALLOWED_ACE*>(at);
            const auto& sid = *reinterpret_cast<const SID*>(&ace.SidStart);
            const bool sidFits = sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + 8 +
                                     4 * std::size_t{sid.SubAuthorityCount} <=
                                 header.AceSize;
            if (sidFits) {
                entries.push_back(
                    {allows, SidText(sid), ace.Mask, (header.AceFlags & INHERIT_ONLY_ACE) != 0});
            }
        }
        at += header.AceSize;
    }
    return entries;
}

}  // namespace

std::optional<std::vector<AccessEntry>> InvokeGetFileSecurityA(ProcAddress function,
                                                               const std::string& path) {
    using GetFileSecurityFunction =
        BOOL(WINAPI*)(LPCSTR, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR, DWORD, LPDWORD);
    const auto getFileSecurity = As<GetFileSecurityFunction>(function);
    DWORD needed = 0;
    getFileSecurity(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    std::vector<BYTE> descriptor(std::max<DWORD>(needed, sizeof(SECURITY_DESCRIPTOR_RELATIVE)));
    if (!getFileSecurity(path.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(),
                         static_cast<DWORD>(descriptor.size()), &needed)) {
        return std::nullopt;
    }
    // The system gives it self-relative: the list lies at an offset from its start.
    const auto& header = *reinterpret_cast<const SECURITY_DESCRIPTOR_RELATIVE*>(descriptor.data());
    if ((header.Control & SE_DACL_PRESENT) == 0 || header.Dacl == 0) {
        return std::vector<AccessEntry>{{true, "S-1-1-0", GENERIC_ALL, false}};
    }
    if (header.Dacl + sizeof(ACL) > descriptor.size()) {
        return std::nullopt;
    }
    const auto& list = *reinterpret_cast<const ACL*>(descriptor.data() + header.Dacl);
    if (header.Dacl + list.AclSize > descriptor.size()) {
        return std::nullopt;
    }
    return EntriesOf(list);
}

}  // namespace skervo::platform
