// The owner and access list of a file or folder, and the program's own token.
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

// The SID at an offset in a self-relative descriptor, when it lies within it.
std::optional<std::string> SidAt(const std::vector<BYTE>& descriptor, DWORD offset) {
    constexpr std::size_t kSidHeader = 8;  // revision, count, authority
    if (offset == 0 || offset + kSidHeader > descriptor.size()) {
        return std::nullopt;
    }
    const auto& sid = *reinterpret_cast<const SID*>(descriptor.data() + offset);
    if (offset + kSidHeader + 4 * std::size_t{sid.SubAuthorityCount} > descriptor.size()) {
        return std::nullopt;
    }
    return SidText(sid);
}

// A token's record of one class, asked for its size first.
std::optional<std::vector<BYTE>> TokenInformation(ProcAddress function, KernelHandle token,
                                                  TOKEN_INFORMATION_CLASS what) {
    using GetTokenInformationFunction =
        BOOL(WINAPI*)(HANDLE, TOKEN_INFORMATION_CLASS, LPVOID, DWORD, PDWORD);
    const auto getTokenInformation = As<GetTokenInformationFunction>(function);
    DWORD needed = 0;
    getTokenInformation(ToNative(token), what, nullptr, 0, &needed);
    std::vector<BYTE> record(std::max<DWORD>(needed, 1));
    if (!getTokenInformation(ToNative(token), what, record.data(),
                             static_cast<DWORD>(record.size()), &needed)) {
        return std::nullopt;
    }
    return record;
}

}  // namespace

std::optional<FileSecurity> InvokeGetFileSecurityW(ProcAddress function, const std::wstring& path) {
    using GetFileSecurityFunction =
        BOOL(WINAPI*)(LPCWSTR, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR, DWORD, LPDWORD);
    const auto getFileSecurity = As<GetFileSecurityFunction>(function);
    constexpr SECURITY_INFORMATION kAsked = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    DWORD needed = 0;
    getFileSecurity(path.c_str(), kAsked, nullptr, 0, &needed);
    std::vector<BYTE> descriptor(std::max<DWORD>(needed, sizeof(SECURITY_DESCRIPTOR_RELATIVE)));
    if (!getFileSecurity(path.c_str(), kAsked, descriptor.data(),
                         static_cast<DWORD>(descriptor.size()), &needed)) {
        return std::nullopt;
    }
    // The system gives it self-relative: the parts lie at offsets from its start.
    const auto& header = *reinterpret_cast<const SECURITY_DESCRIPTOR_RELATIVE*>(descriptor.data());
    const std::optional<std::string> owner = SidAt(descriptor, header.Owner);
    if (!owner) {
        return std::nullopt;
    }
    if ((header.Control & SE_DACL_PRESENT) == 0 || header.Dacl == 0) {
        return FileSecurity{*owner, {{true, "S-1-1-0", GENERIC_ALL, false}}};
    }
    if (header.Dacl + sizeof(ACL) > descriptor.size()) {
        return std::nullopt;
    }
    const auto& list = *reinterpret_cast<const ACL*>(descriptor.data() + header.Dacl);
    if (header.Dacl + list.AclSize > descriptor.size()) {
        return std::nullopt;
    }
    return FileSecurity{*owner, EntriesOf(list)};
}

KernelHandle InvokeOpenProcessToken(ProcAddress function) {
    using OpenProcessTokenFunction = BOOL(WINAPI*)(HANDLE, DWORD, PHANDLE);
    HANDLE token = nullptr;
    if (!As<OpenProcessTokenFunction>(function)(::GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return KernelHandle{};
    }
    return FromNative<KernelHandle>(token);
}

std::optional<std::string> InvokeGetTokenUser(ProcAddress function, KernelHandle token) {
    const std::optional<std::vector<BYTE>> user = TokenInformation(function, token, TokenUser);
    if (!user) {
        return std::nullopt;
    }
    return SidText(
        *static_cast<const SID*>(reinterpret_cast<const TOKEN_USER*>(user->data())->User.Sid));
}

std::optional<bool> InvokeGetTokenElevation(ProcAddress function, KernelHandle token) {
    const std::optional<std::vector<BYTE>> elevation =
        TokenInformation(function, token, TokenElevation);
    if (!elevation || elevation->size() < sizeof(TOKEN_ELEVATION)) {
        return std::nullopt;
    }
    return reinterpret_cast<const TOKEN_ELEVATION*>(elevation->data())->TokenIsElevated != 0;
}

std::optional<std::vector<std::string>> InvokeGetTokenEnabledGroups(ProcAddress function,
                                                                    KernelHandle token) {
    const std::optional<std::vector<BYTE>> groups = TokenInformation(function, token, TokenGroups);
    if (!groups) {
        return std::nullopt;
    }
    const auto& list = *reinterpret_cast<const TOKEN_GROUPS*>(groups->data());
    std::vector<std::string> enabled;
    for (DWORD index = 0; index < list.GroupCount; ++index) {
        if ((list.Groups[index].Attributes & SE_GROUP_ENABLED) != 0) {
            enabled.push_back(SidText(*static_cast<const SID*>(list.Groups[index].Sid)));
        }
    }
    return enabled;
}

}  // namespace skervo::platform
