#include "common/windows_family.h"

#include "platform/kernel.h"
#include "ui/notices.h"
#include "ui/texts.h"

namespace skervo {

bool IsWindowsNT() {
    const platform::ModuleHandle loaded = platform::LoadLibraryA("kernel32.dll");
    if (!platform::IsLoadedLibrary(loaded)) {
        return false;
    }
    platform::OwnedLibrary kernel(loaded);
    const platform::ProcAddress getVersion =
        platform::GetProcAddress(kernel.Get(), "GetVersionExA");
    if (platform::IsNull(getVersion)) {
        kernel.Reset();
        ShowError(texts::kVersionQueryMissing);
        platform::ExitProcess(0);
    }
    platform::OsVersionRecord record;
    return platform::InvokeGetVersionExA(getVersion, record) &&
           record.platformId == platform::kPlatformWin32Nt;
}

}  // namespace skervo
