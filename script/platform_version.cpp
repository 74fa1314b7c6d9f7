#include "script/platform_version.h"

#include <cstdint>

#include "platform/kernel.h"
#include "ui/notices.h"
#include "ui/texts.h"

namespace skervo {
namespace {

// Module handle values this small are error codes of old systems.
constexpr std::uintptr_t kLastFailedLoadValue = 31;

}  // namespace

bool IsWindowsNT() {
    const platform::ModuleHandle kernel = platform::LoadLibraryA("kernel32.dll");
    if (static_cast<std::uintptr_t>(kernel) <= kLastFailedLoadValue) {
        return false;
    }
    const platform::ProcAddress getVersion = platform::GetProcAddress(kernel, "GetVersionExA");
    if (platform::IsNull(getVersion)) {
        platform::FreeLibrary(kernel);
        ShowError(texts::kVersionQueryMissing);
        platform::ExitProcess(0);
    }
    platform::OsVersionRecord record;
    const bool isNT = platform::InvokeGetVersionExA(getVersion, record) &&
                      record.platformId == platform::kPlatformWin32Nt;
    platform::FreeLibrary(kernel);
    return isNT;
}

}  // namespace skervo
