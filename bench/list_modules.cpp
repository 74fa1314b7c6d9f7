// The least a program can do to find the processes of a file, as a closing
// line by path does: list the running processes and the file names of their
// first 50 modules, through the process-status functions bound by name, with
// the same calls as skervo.exe and nothing else. Argument: how many times to
// list. Prints what the last listing saw: processes, those opened, their
// modules, and the names read.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr DWORD kModulesListed = 50;
DWORD ids[65536];  // far more than a desktop runs: one call lists them all

template <typename Function>
Function Bind(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        return 2;
    }
    const int count = std::atoi(argv[1]);
    const HMODULE psapi = LoadLibraryA("psapi.dll");
    if (psapi == nullptr) {
        return 1;
    }
    const auto enumProcesses = Bind<BOOL(WINAPI*)(DWORD*, DWORD, DWORD*)>(psapi, "EnumProcesses");
    const auto enumModules =
        Bind<BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*)>(psapi, "EnumProcessModules");
    const auto moduleName =
        Bind<DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD)>(psapi, "GetModuleFileNameExA");

    DWORD processes = 0, opened = 0, modulesListed = 0, named = 0;
    for (int listing = 0; listing < count; ++listing) {
        DWORD bytes = 0;
        if (!enumProcesses(ids, sizeof ids, &bytes)) {
            return 1;
        }
        processes = bytes / sizeof(DWORD);
        opened = modulesListed = named = 0;
        for (DWORD index = 0; index < processes; ++index) {
            const HANDLE process =
                OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ids[index]);
            if (process == nullptr) {
                continue;
            }
            ++opened;
            HMODULE modules[kModulesListed];
            DWORD needed = 0;
            if (enumModules(process, modules, sizeof modules, &needed)) {
                const DWORD listed = std::min<DWORD>(needed / sizeof(HMODULE), kModulesListed);
                modulesListed += listed;
                for (DWORD module = 0; module < listed; ++module) {
                    char name[MAX_PATH];
                    named += moduleName(process, modules[module], name, sizeof name) != 0;
                }
            }
            CloseHandle(process);
        }
    }
    std::printf("%lu %lu %lu %lu\n", processes, opened, modulesListed, named);
    return 0;
}
