// Calls of the process-listing functions that the program binds by name.
#include "platform/process_listing.h"

#include <windows.h>
// tlhelp32.h and psapi.h need windows.h first.
#include <psapi.h>
#include <tlhelp32.h>

#include <cstring>

#include "platform/growing_text.h"
#include "platform/win32/native.h"

static_assert(skervo::platform::kTh32csSnapProcess == TH32CS_SNAPPROCESS);
#ifndef _WIN64
static_assert(sizeof(PROCESSENTRY32) == 296);  // as the first tool-help functions know it
#endif

namespace skervo::platform {
namespace {

using Process32Function = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);

bool FetchProcess(ProcAddress function, KernelHandle snapshot, ProcessEntry& entry) {
    PROCESSENTRY32 native{};
    native.dwSize = sizeof native;
    if (!As<Process32Function>(function)(ToNative(snapshot), &native)) {
        return false;
    }
    // The name up to its terminator, or the whole field when the system left none.
    entry = {native.th32ProcessID,
             std::string(native.szExeFile, strnlen(native.szExeFile, sizeof native.szExeFile))};
    return true;
}

}  // namespace

bool InvokeEnumProcesses(ProcAddress function, std::vector<std::uint32_t>& ids,
                         std::uint32_t capacity) {
    using EnumProcessesFunction = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
    std::vector<DWORD> native(capacity);
    DWORD bytesReturned = 0;
    if (!As<EnumProcessesFunction>(function)(native.data(), capacity * sizeof(DWORD),
                                             &bytesReturned)) {
        return false;
    }
    ids.assign(native.begin(), native.begin() + bytesReturned / sizeof(DWORD));
    return true;
}

bool InvokeEnumProcessModules(ProcAddress function, KernelHandle process,
                              std::vector<ModuleHandle>& modules, std::uint32_t capacity) {
    using EnumModulesFunction = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*);
    std::vector<HMODULE> native(capacity);
    DWORD bytesNeeded = 0;
    if (!As<EnumModulesFunction>(function)(ToNative(process), native.data(),
                                           capacity * sizeof(HMODULE), &bytesNeeded)) {
        return false;
    }
    const std::size_t count = std::min<std::size_t>(bytesNeeded / sizeof(HMODULE), capacity);
    modules.clear();
    for (std::size_t index = 0; index < count; ++index) {
        modules.push_back(FromNative<ModuleHandle>(native[index]));
    }
    return true;
}

std::uint32_t InvokeGetModuleFileNameExA(ProcAddress function, KernelHandle process,
                                         ModuleHandle module, char* buffer, std::uint32_t size) {
    using ModuleNameFunction = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);
    return As<ModuleNameFunction>(function)(ToNative(process), ToNative(module), buffer, size);
}

KernelHandle InvokeCreateToolhelp32Snapshot(ProcAddress function, std::uint32_t flags,
                                            std::uint32_t processId) {
    using SnapshotFunction = HANDLE(WINAPI*)(DWORD, DWORD);
    return FromNative<KernelHandle>(As<SnapshotFunction>(function)(flags, processId));
}

bool InvokeProcess32First(ProcAddress function, KernelHandle snapshot, ProcessEntry& entry) {
    return FetchProcess(function, snapshot, entry);
}

bool InvokeProcess32Next(ProcAddress function, KernelHandle snapshot, ProcessEntry& entry) {
    return FetchProcess(function, snapshot, entry);
}

std::string InvokeQueryFullProcessImageNameA(ProcAddress function, KernelHandle process) {
    using ImageNameFunction = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, DWORD*);
    // A buffer too small fails the call; any other failure gives no path.
    return FillGrowing([&](char* buffer, std::size_t size) -> std::optional<std::size_t> {
        DWORD length = size;
        if (As<ImageNameFunction>(function)(ToNative(process), 0, buffer, &length)) {
            return length;
        }
        return GetLastError() == ERROR_INSUFFICIENT_BUFFER ? std::nullopt
                                                           : std::optional<std::size_t>(0);
    });
}

bool InvokeProcessIdToSessionId(ProcAddress function, std::uint32_t processId,
                                std::uint32_t& sessionId) {
    using SessionFunction = BOOL(WINAPI*)(DWORD, DWORD*);
    DWORD session = 0;
    const bool ok = As<SessionFunction>(function)(processId, &session) != FALSE;
    sessionId = session;
    return ok;
}

}  // namespace skervo::platform
