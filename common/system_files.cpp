#include "common/system_files.h"

#include "common/files.h"
#include "platform/kernel.h"

namespace skervo {
namespace {

std::string InFolder(std::string folder, std::string_view fileName) {
    if (!folder.ends_with('\\')) {
        folder += '\\';
    }
    return folder + std::string(fileName);
}

}  // namespace

// SetDefaultDllDirectories came with Windows 8 (and an update of 7);
// SetDllDirectoryA, which only takes the current directory out of the
// search, with XP SP1; SetSearchPathMode with Vista SP2.
void RestrictSearchPaths() {
    const platform::ModuleHandle kernel = platform::GetModuleHandleA("kernel32.dll");
    const platform::ProcAddress defaultDirectories =
        platform::GetProcAddress(kernel, "SetDefaultDllDirectories");
    const platform::ProcAddress dllDirectory = platform::GetProcAddress(kernel, "SetDllDirectoryA");
    if (platform::IsNull(defaultDirectories) ||
        !platform::InvokeSetDefaultDllDirectories(defaultDirectories,
                                                  platform::kLoadLibrarySearchSystem32)) {
        if (!platform::IsNull(dllDirectory)) {
            platform::InvokeSetDllDirectoryA(dllDirectory, "");
        }
    }
    const platform::ProcAddress searchPathMode =
        platform::GetProcAddress(kernel, "SetSearchPathMode");
    if (!platform::IsNull(searchPathMode)) {
        platform::InvokeSetSearchPathMode(
            searchPathMode,
            platform::kBaseSearchPathEnableSafeSearchMode | platform::kBaseSearchPathPermanent);
    }
}

std::string SystemFilePath(std::string_view fileName) {
    return InFolder(platform::GetSystemDirectoryA(), fileName);
}

std::string FindSystemProgram(std::string_view fileName) {
    for (const std::string& folder :
         {platform::GetSystemDirectoryA(), platform::GetWindowsDirectoryA()}) {
        if (const std::string path = InFolder(folder, fileName); FileExists(path)) {
            return path;
        }
    }
    return "";
}

}  // namespace skervo
