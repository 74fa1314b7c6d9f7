#include "common/trusted_files.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "common/ansi_text.h"
#include "common/files.h"
#include "common/final_path.h"
#include "common/run_state.h"
#include "platform/kernel.h"
#include "platform/security.h"
#include "ui/texts.h"

namespace skervo {
namespace {

constexpr std::array<std::string_view, 3> kTrustedAccounts = {
    "S-1-5-18",                                                        // SYSTEM
    "S-1-5-32-544",                                                    // Administrators
    "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464",  // TrustedInstaller
};
// CREATOR OWNER and the like stand for an owner in what a folder will hold,
// never for an account of a token; OWNER RIGHTS is the owner, checked itself.
constexpr std::string_view kOwnerPlaceholders = "S-1-3-";

constexpr std::uint32_t kWriteData = 0x2;
constexpr std::uint32_t kAppendData = 0x4;
constexpr std::uint32_t kDeleteChild = 0x40;
constexpr std::uint32_t kDelete = 0x10000;
constexpr std::uint32_t kWriteDac = 0x40000;
constexpr std::uint32_t kWriteOwner = 0x80000;
constexpr std::uint32_t kGenericWrite = 0x40000000;
// Rewriting the file, or deleting it or changing who may.
constexpr std::uint32_t kFileChangingRights = kWriteData | kAppendData | kDelete | kWriteDac |
                                              kWriteOwner | kGenericWrite | platform::kGenericAll;
// Renaming or deleting the folder or what it holds, or changing who may:
// adding a file to it changes no file already there.
constexpr std::uint32_t kFolderChangingRights =
    kDelete | kDeleteChild | kWriteDac | kWriteOwner | platform::kGenericAll;

bool IsTrusted(std::string_view account) {
    return std::find(kTrustedAccounts.begin(), kTrustedAccounts.end(), account) !=
               kTrustedAccounts.end() ||
           account == runState.Token.account;
}

bool LetsOthersChange(const platform::AccessEntry& entry, std::uint32_t changingRights) {
    return entry.allows && !entry.inheritOnly && (entry.mask & changingRights) != 0 &&
           !IsTrusted(entry.trustee) && !entry.trustee.starts_with(kOwnerPlaceholders);
}

Trust TrustOf(const std::wstring& path, std::uint32_t changingRights) {
    const platform::ProcAddress getFileSecurity =
        platform::GetProcAddress(platform::GetModuleHandleA("advapi32.dll"), "GetFileSecurityW");
    const std::optional<platform::FileSecurity> security =
        platform::IsNull(getFileSecurity) ? std::nullopt
                                          : platform::InvokeGetFileSecurityW(getFileSecurity, path);
    if (!security) {
        return Trust::Unreadable;
    }
    const bool othersMay = !IsTrusted(security->owner) ||
                           std::any_of(security->entries.begin(), security->entries.end(),
                                       [&](const platform::AccessEntry& e) {
                                           return LetsOthersChange(e, changingRights);
                                       });
    return othersMay ? Trust::OthersMay : Trust::OnlyTrusted;
}

// A drive's root (C:\) or a share (\\serveur\partage): nothing above it.
bool IsRoot(std::wstring_view path) {
    if (path.size() == 3 && path[1] == L':' && path[2] == L'\\') {
        return true;
    }
    const std::size_t share = path.starts_with(L"\\\\") ? path.find(L'\\', 2) : std::wstring::npos;
    return share != std::wstring::npos && path.find(L'\\', share + 1) == std::wstring::npos;
}

std::optional<std::wstring> FolderAbove(const std::wstring& path) {
    const std::size_t separator = path.rfind(L'\\');
    if (IsRoot(path) || separator == std::wstring::npos || separator < 2) {
        return std::nullopt;
    }
    std::wstring folder = path.substr(0, separator);
    if (folder.size() == 2 && folder[1] == L':') {
        folder += L'\\';
    }
    return folder;
}

TrustVerdict TrustOfFolders(std::optional<std::wstring> folder) {
    for (; folder; folder = FolderAbove(*folder)) {
        if (const Trust trust = TrustOf(*folder, kFolderChangingRights);
            trust != Trust::OnlyTrusted) {
            return {trust, *folder};
        }
    }
    return {};
}

bool SameIgnoringAsciiCase(std::wstring_view first, std::wstring_view second) {
    const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? c + (L'a' - L'A') : c; };
    return std::equal(first.begin(), first.end(), second.begin(), second.end(),
                      [&](wchar_t a, wchar_t b) { return lower(a) == lower(b); });
}

// The same file under two spellings: its short and long names.
bool SameFile(const std::wstring& first, const std::wstring& second) {
    if (SameIgnoringAsciiCase(first, second)) {
        return true;
    }
    const std::optional<std::string> firstAnsi = WideToAnsi(first);
    const std::optional<std::string> secondAnsi = WideToAnsi(second);
    if (!firstAnsi || !secondAnsi) {
        return false;
    }
    const std::string normalised = NormalisedPath(*firstAnsi);
    return !normalised.empty() && normalised == NormalisedPath(*secondAnsi);
}

}  // namespace

TrustVerdict TrustOfFile(const std::wstring& fullPath) {
    if (const Trust trust = TrustOf(fullPath, kFileChangingRights); trust != Trust::OnlyTrusted) {
        return {trust, fullPath};
    }
    return TrustOfFoldersAbove(fullPath);
}

TrustVerdict TrustOfFoldersAbove(const std::wstring& fullPath) {
    return TrustOfFolders(FolderAbove(fullPath));
}

std::string TrustReason(const TrustVerdict& verdict) {
    const std::string where = WideToAnsi(verdict.where).value_or("?");
    switch (verdict.trust) {
        case Trust::OnlyTrusted:
            break;
        case Trust::OthersMay:
            return std::string(texts::kOthersMayChange) + where + "'";
        case Trust::Unreadable:
            return std::string(texts::kRightsUnreadable) + where +
                   std::string(texts::kRightsUnreadableEnd);
    }
    return {};
}

bool IsPlainFileAt(platform::KernelHandle file, const std::wstring& fullPath) {
    platform::FileInformation information;
    if (!platform::GetFileInformationByHandle(file, information) || information.links != 1 ||
        (information.attributes & platform::kFileAttributeReparsePoint) != 0) {
        return false;
    }
    const std::wstring finalPath = FinalPathOf(file);
    return finalPath.empty() || SameFile(finalPath, fullPath);
}

}  // namespace skervo
