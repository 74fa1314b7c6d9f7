#pragma once
// Kernel services: command line, files, time, libraries, process end.
#include <cstdint>
#include <string>

#include "platform/types.h"

namespace skervo::platform {

inline constexpr std::uint32_t kGenericRead = 0x80000000;
inline constexpr std::uint32_t kFileShareRead = 1;
inline constexpr std::uint32_t kOpenExisting = 3;

inline constexpr std::uint32_t kLocaleUserDefault = 0x0400;
inline constexpr std::uint32_t kNormIgnoreCase = 1;
inline constexpr int kCompareEqual = 2;  // CSTR_EQUAL

inline constexpr std::uint32_t kPlatformWin32Nt = 2;

// OSVERSIONINFOA, as far as the program reads it.
struct OsVersionRecord {
    std::uint32_t platformId = 0;
};

std::string GetCommandLineA();
// Full path of the running program's file, whatever its length.
std::string GetModuleFileNameA();

KernelHandle CreateFileA(const std::string& path, std::uint32_t access, std::uint32_t share,
                         std::uint32_t disposition);
// Reads up to size bytes; false on failure. bytesRead is 0 at the end of the file.
bool ReadFile(KernelHandle file, char* buffer, std::uint32_t size, std::uint32_t& bytesRead);
bool CloseHandle(KernelHandle handle);

std::uint32_t GetTickCount();
void Sleep(std::uint32_t milliseconds);

ModuleHandle LoadLibraryA(const std::string& name);
// An already loaded module, or the program itself for an empty name.
ModuleHandle GetModuleHandleA(const std::string& name);
ProcAddress GetProcAddress(ModuleHandle module, const std::string& name);
bool FreeLibrary(ModuleHandle module);
// Calls a GetVersionExA found with GetProcAddress.
bool InvokeGetVersionExA(ProcAddress function, OsVersionRecord& record);

int CompareStringA(std::uint32_t locale, std::uint32_t flags, const std::string& first,
                   const std::string& second);

[[noreturn]] void ExitProcess(std::uint32_t exitCode);

}  // namespace skervo::platform
