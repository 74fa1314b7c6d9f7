#pragma once
// Kernel services: command line, files, time, libraries, process end.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/owned.h"
#include "platform/types.h"

namespace skervo::platform {

inline constexpr std::uint32_t kGenericRead = 0x80000000;
inline constexpr std::uint32_t kGenericWrite = 0x40000000;
// Writes go to the end of the file, wherever its position is (NT only).
inline constexpr std::uint32_t kFileAppendData = 0x4;
inline constexpr std::uint32_t kFileShareRead = 1;
inline constexpr std::uint32_t kFileShareWrite = 2;
inline constexpr std::uint32_t kCreateNew = 1;
inline constexpr std::uint32_t kOpenExisting = 3;
inline constexpr std::uint32_t kOpenAlways = 4;
inline constexpr std::uint32_t kFileBegin = 0;
inline constexpr std::uint32_t kFileEnd = 2;

inline constexpr std::uint32_t kErrorFileNotFound = 2;
inline constexpr std::uint32_t kErrorAccessDenied = 5;
inline constexpr std::uint32_t kErrorFileExists = 80;
inline constexpr std::uint32_t kErrorSharingViolation = 32;
inline constexpr std::uint32_t kErrorLockViolation = 33;
inline constexpr std::uint32_t kErrorCallNotImplemented = 120;

inline constexpr std::uint32_t kLocaleUserDefault = 0x0400;
inline constexpr std::uint32_t kNormIgnoreCase = 1;
inline constexpr int kCompareEqual = 2;  // CSTR_EQUAL

inline constexpr std::uint32_t kPlatformWin32Nt = 2;

inline constexpr std::uint32_t kCpAcp = 0;
inline constexpr std::uint32_t kCpOemcp = 1;
inline constexpr std::uint32_t kCpUtf8 = 65001;
inline constexpr std::uint32_t kMbErrInvalidChars = 0x8;
inline constexpr std::uint32_t kWcNoBestFitChars = 0x400;

inline constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFF;
inline constexpr std::uint32_t kFileAttributeDirectory = 0x10;
inline constexpr std::uint32_t kFileAttributeReparsePoint = 0x400;
inline constexpr std::uint32_t kWaitTimeout = 0x102;
inline constexpr std::uint32_t kProcessTerminate = 0x0001;
inline constexpr std::uint32_t kSynchronize = 0x100000;
inline constexpr std::uint32_t kProcessQueryInformation = 0x0400;
inline constexpr std::uint32_t kProcessQueryLimitedInformation = 0x1000;  // Vista and later
inline constexpr std::uint32_t kProcessVmRead = 0x0010;
inline constexpr std::uint32_t kStdInputHandle = 0xFFFFFFF6;   // (DWORD)-10
inline constexpr std::uint32_t kStdOutputHandle = 0xFFFFFFF5;  // (DWORD)-11
inline constexpr std::uint32_t kSemFailCriticalErrors = 1;
inline constexpr std::uint32_t kSemNoOpenFileErrorBox = 0x8000;
// What GetDriveTypeA answers; 0 (unknown) and 1 (no such root) besides.
inline constexpr std::uint32_t kDriveRemovable = 2;
inline constexpr std::uint32_t kDriveFixed = 3;
inline constexpr std::uint32_t kDriveRemote = 4;
inline constexpr std::uint32_t kDriveCdrom = 5;
inline constexpr std::uint32_t kDriveRamdisk = 6;

// STARTUPINFOA, as far as the program fills it; every other field is zero.
struct StartupRecord {
    std::uint32_t flags = 0;
    std::uint16_t showWindow = 0;
};
inline constexpr std::uint32_t kStartfUseShowWindow = 1;
inline constexpr std::uint16_t kSwShowNa = 8;
inline constexpr std::uint32_t kCreateNewConsole = 0x10;
inline constexpr std::uint32_t kNormalPriorityClass = 0x20;
// The started program takes the system's error mode, not the one the program set.
inline constexpr std::uint32_t kCreateDefaultErrorMode = 0x04000000;

struct ProcessInformation {
    KernelHandle process{};
    KernelHandle thread{};
    std::uint32_t processId = 0;
    std::uint32_t threadId = 0;
};

// OSVERSIONINFOA, as far as the program reads it.
struct OsVersionRecord {
    std::uint32_t platformId = 0;
};

std::string GetCommandLineA();
// The command line as the system received it, in UTF-16, before any
// character was lost to the ANSI code page.
std::wstring GetCommandLineW();
// Full path of the running program's file, whatever its length.
std::string GetModuleFileNameA();

KernelHandle CreateFileA(const std::string& path, std::uint32_t access, std::uint32_t share,
                         std::uint32_t disposition);
KernelHandle CreateFileW(const std::wstring& path, std::uint32_t access, std::uint32_t share,
                         std::uint32_t disposition);
// Moves by distance from the start (kFileBegin) or the end (kFileEnd); the
// new position, or nullopt on failure.
std::optional<std::uint64_t> SetFilePointer(KernelHandle file, std::int64_t distance,
                                            std::uint32_t moveMethod);
// Reads up to size bytes; false on failure. bytesRead is 0 at the end of the file.
bool ReadFile(KernelHandle file, char* buffer, std::uint32_t size, std::uint32_t& bytesRead);
// Writes the bytes at the file's position; false unless all were written.
bool WriteFile(KernelHandle file, std::string_view bytes);
// Both return at once: LockFile fails with kErrorLockViolation while another
// handle holds the range.
bool LockFile(KernelHandle file, std::uint64_t offset, std::uint64_t length);
bool UnlockFile(KernelHandle file, std::uint64_t offset, std::uint64_t length);
bool CloseHandle(KernelHandle handle);

// Renames a file, or the link itself for a link, within its volume; with
// kMoveFileReplaceExisting, in place of a file the new name names. Found
// by name: the 95 family has no MoveFileExA that works.
inline constexpr std::uint32_t kMoveFileReplaceExisting = 1;
bool InvokeMoveFileExA(ProcAddress function, const std::string& from, const std::string& to,
                       std::uint32_t flags);
bool MoveFileA(const std::string& from, const std::string& to);
bool DeleteFileA(const std::string& path);

// The full path of a path relative to the current directory, whatever its
// length; empty on failure.
std::string GetFullPathNameA(const std::string& path);
std::wstring GetFullPathNameW(const std::wstring& path);
// BY_HANDLE_FILE_INFORMATION, as far as the program reads it.
struct FileInformation {
    std::uint32_t attributes = 0;
    std::uint32_t links = 0;
};
bool GetFileInformationByHandle(KernelHandle file, FileInformation& information);
// The path of the file a handle holds, links followed, in its \\?\ form,
// with a GetFinalPathNameByHandleW found by name (Vista and later); nullopt
// on failure.
std::optional<std::wstring> InvokeGetFinalPathNameByHandleW(ProcAddress function,
                                                            KernelHandle file);
std::uint32_t GetFileAttributesA(const std::string& path);
// WIN32_FIND_DATAA, as far as the program reads it: the names of the file found,
// long and, when it has one of its own, short (else empty).
struct FindData {
    std::string fileName;
    std::string alternateFileName;
    std::uint32_t attributes = 0;
};
// The first file that path names; the search is closed at once.
bool FindFirstFileA(const std::string& path, FindData& data);
// Every file and folder that a pattern with the wildcards * and ? names in
// its folder, in the order the system finds them (FindFirstFileA,
// FindNextFileA, FindClose); empty when there is none.
std::vector<FindData> FindFilesA(const std::string& pattern);
// The short form of an existing path, whatever its length; empty on failure.
std::string GetShortPathNameA(const std::string& path);
// The system's folders, without a final backslash (but for a root).
std::string GetSystemDirectoryA();
std::string GetWindowsDirectoryA();

// The program to start is applicationName alone: the system looks for no
// other. No inheritance, no environment; currentDirectory is passed even
// when empty.
bool CreateProcessA(const std::string& applicationName, const std::string& commandLine,
                    std::uint32_t creationFlags, const std::string& currentDirectory,
                    const StartupRecord& startup, ProcessInformation& information);
std::uint32_t WaitForSingleObject(KernelHandle handle, std::uint32_t milliseconds);
// A null handle when the process cannot be opened with that access.
KernelHandle OpenProcess(std::uint32_t access, std::uint32_t processId);
std::uint32_t GetCurrentProcessId();
bool TerminateProcess(KernelHandle process, std::uint32_t exitCode);
bool GetExitCodeProcess(KernelHandle process, std::uint32_t& exitCode);

// The error code of the calling thread's last failed call.
std::uint32_t GetLastError();
// The system's text for an error code, in the user's language, as the
// system writes it (line end included); empty when it has none.
std::string FormatMessageA(std::uint32_t code);

// The text with each %NAME% the environment defines replaced by its value,
// once (a value is not expanded again); an undefined name stays as it is.
// nullopt on failure: on the 95 family the wide one always fails.
std::optional<std::wstring> ExpandEnvironmentStringsW(const std::wstring& text);
std::optional<std::string> ExpandEnvironmentStringsA(const std::string& text);
// Whether the environment defines the name.
bool IsEnvironmentVariableDefined(const std::string& name);

// The computer's NetBIOS name, and the user's logon name (advapi32); empty
// when the system does not say.
std::string GetComputerNameA();
std::string GetUserNameA();
// The same in other forms, with GetComputerNameExA (kernel32) and
// GetUserNameExA (secur32) found by name: Windows 2000 and later. Empty
// when the system does not say.
inline constexpr std::uint32_t kComputerNameDnsFullyQualified = 3;
inline constexpr std::uint32_t kNameSamCompatible = 2;  // DOMAINE\nom
std::string InvokeGetComputerNameExA(ProcAddress function, std::uint32_t format);
std::string InvokeGetUserNameExA(ProcAddress function, std::uint32_t format);

std::uint32_t GetTickCount();
void Sleep(std::uint32_t milliseconds);

// SYSTEMTIME.
struct SystemTime {
    std::uint16_t year = 0;
    std::uint16_t month = 0;
    std::uint16_t day = 0;
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;
};
SystemTime GetLocalTime();
// Coordinated universal time.
SystemTime GetSystemTime();
// The local time of a universal time, by the rules of the time zone in
// force (SystemTimeToTzSpecificLocalTime with no zone given, found by name:
// NT only); nullopt on failure.
std::optional<SystemTime> InvokeSystemTimeToTzSpecificLocalTime(ProcAddress function,
                                                                const SystemTime& universal);

ModuleHandle LoadLibraryA(const std::string& name);
// Whether LoadLibraryA's answer is a library: values up to 31 are the error
// codes of old systems.
constexpr bool IsLoadedLibrary(ModuleHandle module) {
    return static_cast<std::uintptr_t>(module) > 31;
}
// An already loaded module, or the program itself for an empty name.
ModuleHandle GetModuleHandleA(const std::string& name);
ProcAddress GetProcAddress(ModuleHandle module, const std::string& name);
bool FreeLibrary(ModuleHandle module);
// Calls a GetVersionExA found with GetProcAddress.
bool InvokeGetVersionExA(ProcAddress function, OsVersionRecord& record);

// What the newer systems offer to keep libraries and programs from being
// looked for in the program's folder and the current directory, called
// through GetProcAddress.
inline constexpr std::uint32_t kLoadLibrarySearchSystem32 = 0x800;
inline constexpr std::uint32_t kBaseSearchPathEnableSafeSearchMode = 0x1;
inline constexpr std::uint32_t kBaseSearchPathPermanent = 0x8000;
bool InvokeSetDefaultDllDirectories(ProcAddress function, std::uint32_t directoryFlags);
bool InvokeSetDllDirectoryA(ProcAddress function, const std::string& directory);
bool InvokeSetSearchPathMode(ProcAddress function, std::uint32_t flags);

// The ANSI code page.
std::uint32_t GetACP();
// Whether the byte begins a character of two bytes in the ANSI code page.
bool IsDBCSLeadByte(std::uint8_t byte);
// Text of a code page in UTF-16; nullopt when the system refuses the code
// page or the flags, or, with kMbErrInvalidChars, the text.
std::optional<std::wstring> MultiByteToWideChar(std::uint32_t codePage, std::uint32_t flags,
                                                std::string_view text);
// UTF-16 text in a code page, the default character for what it lacks (with
// kWcNoBestFitChars, also where a look-alike exists); nullopt when the system
// refuses the code page or the flags.
std::optional<std::string> WideCharToMultiByte(std::uint32_t codePage, std::uint32_t flags,
                                               std::wstring_view text);

int CompareStringA(std::uint32_t locale, std::uint32_t flags, const std::string& first,
                   const std::string& second);

KernelHandle GetStdHandle(std::uint32_t which);
// Whether the handle is a console's: its mode can be read.
bool GetConsoleMode(KernelHandle handle);
// Writes UTF-16 text to a console, or its first written characters; false on
// failure, as on the 95 family, which has no such function.
bool WriteConsoleW(KernelHandle console, std::wstring_view text, std::uint32_t& written);

// The kind of drive a root path such as C:\ names.
std::uint32_t GetDriveTypeA(const std::string& root);

// SEM_FAILCRITICALERRORS: a drive without a disk fails the call that probes
// it instead of asking the user for a disk. Answers the mode before.
std::uint32_t SetErrorMode(std::uint32_t mode);

[[noreturn]] void ExitProcess(std::uint32_t exitCode);

// A CRITICAL_SECTION, from its initialisation to its deletion; lock and
// unlock are EnterCriticalSection and LeaveCriticalSection. It needs no
// threads library, which would import functions the 95 family lacks.
class CriticalSection {
  public:
    CriticalSection();
    ~CriticalSection();
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    void lock();
    void unlock();

  private:
    alignas(void*) unsigned char storage_[64];
};

using OwnedHandle = Owned<KernelHandle, CloseHandle>;
using OwnedLibrary = Owned<ModuleHandle, FreeLibrary>;

}  // namespace skervo::platform
