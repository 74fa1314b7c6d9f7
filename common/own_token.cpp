#include "common/own_token.h"

#include <algorithm>

#include "platform/kernel.h"
#include "platform/security.h"

namespace skervo {
namespace {

constexpr std::string_view kSystem = "S-1-5-18";
constexpr std::string_view kAdministrators = "S-1-5-32-544";

// Before Vista a token is no more or less elevated: an administrator's
// holds the Administrators group enabled. Under UAC a filtered token holds
// it for denial only, never enabled.
bool HoldsAdministrators(platform::ProcAddress getTokenInformation, platform::KernelHandle token) {
    const auto groups = platform::InvokeGetTokenEnabledGroups(getTokenInformation, token);
    return groups && std::find(groups->begin(), groups->end(), kAdministrators) != groups->end();
}

}  // namespace

OwnToken ReadOwnToken() {
    const platform::ModuleHandle advapi = platform::GetModuleHandleA("advapi32.dll");
    const platform::ProcAddress openToken = platform::GetProcAddress(advapi, "OpenProcessToken");
    const platform::ProcAddress tokenInformation =
        platform::GetProcAddress(advapi, "GetTokenInformation");
    if (platform::IsNull(openToken) || platform::IsNull(tokenInformation)) {
        return {};
    }
    const platform::OwnedHandle token(platform::InvokeOpenProcessToken(openToken));
    if (!token) {
        return {};
    }
    OwnToken own{platform::InvokeGetTokenUser(tokenInformation, token.Get()).value_or(""), false};
    const std::optional<bool> elevated =
        platform::InvokeGetTokenElevation(tokenInformation, token.Get());
    own.elevated = own.account == kSystem ||
                   (elevated ? *elevated : HoldsAdministrators(tokenInformation, token.Get()));
    return own;
}

}  // namespace skervo
