#include "common/windows_family.h"

#include "common/run_state.h"
#include "common/system_files.h"
#include "platform/kernel.h"
#include "ui/notices.h"
#include "ui/texts.h"
#include "ui/unhandled_error.h"

namespace skervo {

bool IsWindowsNT() {
    const platform::ModuleHandle loaded = platform::LoadLibraryA(SystemFilePath("kernel32.dll"));
    if (!platform::IsLoadedLibrary(loaded)) {
        return false;
    }
    platform::OwnedLibrary kernel(loaded);
    const platform::ProcAddress getVersion =
        platform::GetProcAddress(kernel.Get(), "GetVersionExA");
    if (platform::IsNull(getVersion)) {
        kernel.Reset();
        ShowError(texts::kVersionQueryMissing);
        runState.Outcome.couldNotStart = true;
        EndProcessNormally();
    }
    platform::OsVersionRecord record;
    return platform::InvokeGetVersionExA(getVersion, record) &&
           record.platformId == platform::kPlatformWin32Nt;
}

}  // namespace skervo
