#pragma once
// Calls of the process-listing functions, which the program binds by name:
// the process-status ones of psapi.dll and the tool-help ones of kernel32.dll,
// with the session lookup that came with Windows 2000.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

namespace skervo::platform {

inline constexpr std::uint32_t kTh32csSnapProcess = 2;

// PROCESSENTRY32, as far as the program reads it.
struct ProcessEntry {
    std::uint32_t processId = 0;
    std::string exeFile;
};

// Fills ids with at most capacity process ids.
bool InvokeEnumProcesses(ProcAddress function, std::vector<std::uint32_t>& ids,
                         std::uint32_t capacity);
// Fills modules with at most capacity module handles, the executable first.
bool InvokeEnumProcessModules(ProcAddress function, KernelHandle process,
                              std::vector<ModuleHandle>& modules, std::uint32_t capacity);
// The length of the name copied into buffer (at most size - 1), 0 on failure.
std::uint32_t InvokeGetModuleFileNameExA(ProcAddress function, KernelHandle process,
                                         ModuleHandle module, char* buffer, std::uint32_t size);
KernelHandle InvokeCreateToolhelp32Snapshot(ProcAddress function, std::uint32_t flags,
                                            std::uint32_t processId);
bool InvokeProcess32First(ProcAddress function, KernelHandle snapshot, ProcessEntry& entry);
bool InvokeProcess32Next(ProcAddress function, KernelHandle snapshot, ProcessEntry& entry);
// The full path of the process's executable, whatever its length; empty on failure.
std::string InvokeQueryFullProcessImageNameA(ProcAddress function, KernelHandle process);
// ProcessIdToSessionId: the Remote Desktop session the process runs in.
bool InvokeProcessIdToSessionId(ProcAddress function, std::uint32_t processId,
                                std::uint32_t& sessionId);

}  // namespace skervo::platform
