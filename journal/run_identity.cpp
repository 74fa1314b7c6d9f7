#include "journal/run_identity.h"

#include "common/system_files.h"
#include "platform/kernel.h"

namespace skervo {

std::string ComputerNames() {
    std::string names = platform::GetComputerNameA();
    const platform::ProcAddress getComputerNameEx =
        platform::GetProcAddress(platform::GetModuleHandleA("kernel32.dll"), "GetComputerNameExA");
    if (!platform::IsNull(getComputerNameEx)) {
        const std::string dnsName = platform::InvokeGetComputerNameExA(
            getComputerNameEx, platform::kComputerNameDnsFullyQualified);
        if (!dnsName.empty()) {
            (((names += " (") += dnsName) += ")");
        }
    }
    return names;
}

// secur32.dll from the system folder only, loaded for this one question.
std::string AccountName() {
    const platform::ModuleHandle loaded = platform::LoadLibraryA(SystemFilePath("secur32.dll"));
    if (!platform::IsLoadedLibrary(loaded)) {
        return platform::GetUserNameA();
    }
    const platform::OwnedLibrary secur32(loaded);
    const platform::ProcAddress getUserNameEx =
        platform::GetProcAddress(secur32.Get(), "GetUserNameExA");
    const std::string samName =
        platform::IsNull(getUserNameEx)
            ? std::string()
            : platform::InvokeGetUserNameExA(getUserNameEx, platform::kNameSamCompatible);
    return samName.empty() ? platform::GetUserNameA() : samName;
}

}  // namespace skervo
