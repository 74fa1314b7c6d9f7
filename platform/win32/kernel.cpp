// The kernel services, forwarded to the real functions.
#include "platform/kernel.h"

#include <windows.h>

#include <optional>

#include "platform/growing_text.h"
#include "platform/win32/native.h"

static_assert(skervo::platform::kGenericRead == GENERIC_READ);
static_assert(skervo::platform::kGenericWrite == GENERIC_WRITE);
static_assert(skervo::platform::kFileAppendData == FILE_APPEND_DATA);
static_assert(skervo::platform::kFileShareRead == FILE_SHARE_READ);
static_assert(skervo::platform::kFileShareWrite == FILE_SHARE_WRITE);
static_assert(skervo::platform::kCreateNew == CREATE_NEW);
static_assert(skervo::platform::kOpenExisting == OPEN_EXISTING);
static_assert(skervo::platform::kOpenAlways == OPEN_ALWAYS);
static_assert(skervo::platform::kFileBegin == FILE_BEGIN);
static_assert(skervo::platform::kFileEnd == FILE_END);
static_assert(skervo::platform::kErrorFileNotFound == ERROR_FILE_NOT_FOUND);
static_assert(skervo::platform::kErrorAccessDenied == ERROR_ACCESS_DENIED);
static_assert(skervo::platform::kErrorFileExists == ERROR_FILE_EXISTS);
static_assert(skervo::platform::kErrorSharingViolation == ERROR_SHARING_VIOLATION);
static_assert(skervo::platform::kErrorLockViolation == ERROR_LOCK_VIOLATION);
static_assert(skervo::platform::kErrorCallNotImplemented == ERROR_CALL_NOT_IMPLEMENTED);
static_assert(skervo::platform::kMoveFileReplaceExisting == MOVEFILE_REPLACE_EXISTING);
static_assert(skervo::platform::kComputerNameDnsFullyQualified == ComputerNameDnsFullyQualified);
static_assert(skervo::platform::kLoadLibrarySearchSystem32 == LOAD_LIBRARY_SEARCH_SYSTEM32);
static_assert(skervo::platform::kBaseSearchPathEnableSafeSearchMode ==
              BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE);
static_assert(skervo::platform::kBaseSearchPathPermanent == BASE_SEARCH_PATH_PERMANENT);
static_assert(skervo::platform::kLocaleUserDefault == LOCALE_USER_DEFAULT);
static_assert(skervo::platform::kNormIgnoreCase == NORM_IGNORECASE);
static_assert(skervo::platform::kCompareEqual == CSTR_EQUAL);
static_assert(skervo::platform::kPlatformWin32Nt == VER_PLATFORM_WIN32_NT);
static_assert(skervo::platform::kCpAcp == CP_ACP && skervo::platform::kCpUtf8 == CP_UTF8);
static_assert(skervo::platform::kMbErrInvalidChars == MB_ERR_INVALID_CHARS);
static_assert(skervo::platform::kWcNoBestFitChars == WC_NO_BEST_FIT_CHARS);
static_assert(skervo::platform::kInvalidFileAttributes == INVALID_FILE_ATTRIBUTES);
static_assert(skervo::platform::kFileAttributeDirectory == FILE_ATTRIBUTE_DIRECTORY);
static_assert(skervo::platform::kFileAttributeReparsePoint == FILE_ATTRIBUTE_REPARSE_POINT);
static_assert(skervo::platform::kWaitTimeout == WAIT_TIMEOUT);
static_assert(skervo::platform::kProcessTerminate == PROCESS_TERMINATE);
static_assert(skervo::platform::kSynchronize == SYNCHRONIZE);
static_assert(skervo::platform::kProcessQueryInformation == PROCESS_QUERY_INFORMATION);
static_assert(skervo::platform::kProcessVmRead == PROCESS_VM_READ);
static_assert(skervo::platform::kProcessQueryLimitedInformation ==
              PROCESS_QUERY_LIMITED_INFORMATION);
static_assert(skervo::platform::kStartfUseShowWindow == STARTF_USESHOWWINDOW);
static_assert(skervo::platform::kSwShowNa == SW_SHOWNA);
static_assert(skervo::platform::kCreateNewConsole == CREATE_NEW_CONSOLE);
static_assert(skervo::platform::kSemNoOpenFileErrorBox == SEM_NOOPENFILEERRORBOX);
static_assert(skervo::platform::kNormalPriorityClass == NORMAL_PRIORITY_CLASS);
static_assert(skervo::platform::kCreateDefaultErrorMode == CREATE_DEFAULT_ERROR_MODE);
// The records in the sizes that every version of Windows accepts.
static_assert(sizeof(OSVERSIONINFOA) == 148);
#ifndef _WIN64
static_assert(sizeof(STARTUPINFOA) == 68);
#endif

namespace skervo::platform {
std::string GetCommandLineA() {
    return ::GetCommandLineA();
}

std::wstring GetCommandLineW() {
    return ::GetCommandLineW();
}

namespace {

// A length that fills the whole buffer is a text that was cut; one beyond it
// is the size the text needs.
std::optional<std::size_t> Fitted(DWORD length, std::size_t size) {
    return length < size ? std::optional<std::size_t>(length) : std::nullopt;
}

}  // namespace

std::string GetModuleFileNameA() {
    return FillGrowing([](char* buffer, std::size_t size) {
        return Fitted(::GetModuleFileNameA(nullptr, buffer, size), size);
    });
}

KernelHandle CreateFileA(const std::string& path, std::uint32_t access, std::uint32_t share,
                         std::uint32_t disposition) {
    return FromNative<KernelHandle>(::CreateFileA(path.c_str(), access, share, nullptr, disposition,
                                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

KernelHandle CreateFileW(const std::wstring& path, std::uint32_t access, std::uint32_t share,
                         std::uint32_t disposition) {
    return FromNative<KernelHandle>(::CreateFileW(path.c_str(), access, share, nullptr, disposition,
                                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

// SetFilePointerEx came with Windows 2000; the high half serves every system.
std::optional<std::uint64_t> SetFilePointer(KernelHandle file, std::int64_t distance,
                                            std::uint32_t moveMethod) {
    LONG high = static_cast<LONG>(distance >> 32);
    ::SetLastError(NO_ERROR);
    const DWORD low =
        ::SetFilePointer(ToNative(file), static_cast<LONG>(distance), &high, moveMethod);
    if (low == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR) {
        return std::nullopt;
    }
    return (std::uint64_t{static_cast<DWORD>(high)} << 32) | low;
}

bool ReadFile(KernelHandle file, char* buffer, std::uint32_t size, std::uint32_t& bytesRead) {
    DWORD read = 0;
    const bool ok = ::ReadFile(ToNative(file), buffer, size, &read, nullptr) != FALSE;
    bytesRead = read;
    return ok;
}

bool WriteFile(KernelHandle file, std::string_view bytes) {
    DWORD written = 0;
    return ::WriteFile(ToNative(file), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                       nullptr) != FALSE &&
           written == bytes.size();
}

bool LockFile(KernelHandle file, std::uint64_t offset, std::uint64_t length) {
    return ::LockFile(ToNative(file), static_cast<DWORD>(offset), static_cast<DWORD>(offset >> 32),
                      static_cast<DWORD>(length), static_cast<DWORD>(length >> 32)) != FALSE;
}

bool UnlockFile(KernelHandle file, std::uint64_t offset, std::uint64_t length) {
    return ::UnlockFile(ToNative(file), static_cast<DWORD>(offset),
                        static_cast<DWORD>(offset >> 32), static_cast<DWORD>(length),
                        static_cast<DWORD>(length >> 32)) != FALSE;
}

bool CloseHandle(KernelHandle handle) {
    return ::CloseHandle(ToNative(handle)) != FALSE;
}

bool InvokeMoveFileExA(ProcAddress function, const std::string& from, const std::string& to,
                       std::uint32_t flags) {
    using Function = BOOL(WINAPI*)(const char*, const char*, DWORD);
    return As<Function>(function)(from.c_str(), to.c_str(), flags) != FALSE;
}

bool MoveFileA(const std::string& from, const std::string& to) {
    return ::MoveFileA(from.c_str(), to.c_str()) != FALSE;
}

bool DeleteFileA(const std::string& path) {
    return ::DeleteFileA(path.c_str()) != FALSE;
}

std::string GetFullPathNameA(const std::string& path) {
    return FillGrowing([&](char* buffer, std::size_t size) {
        return Fitted(::GetFullPathNameA(path.c_str(), size, buffer, nullptr), size);
    });
}

std::wstring GetFullPathNameW(const std::wstring& path) {
    return FillGrowing<wchar_t>([&](wchar_t* buffer, std::size_t size) {
        return Fitted(::GetFullPathNameW(path.c_str(), size, buffer, nullptr), size);
    });
}

bool GetFileInformationByHandle(KernelHandle file, FileInformation& information) {
    BY_HANDLE_FILE_INFORMATION native{};
    if (!::GetFileInformationByHandle(ToNative(file), &native)) {
        return false;
    }
    information = {native.dwFileAttributes, native.nNumberOfLinks};
    return true;
}

std::optional<std::wstring> InvokeGetFinalPathNameByHandleW(ProcAddress function,
                                                            KernelHandle file) {
    using Function = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
    bool failed = false;
    std::wstring path = FillGrowing<wchar_t>([&](wchar_t* buffer, std::size_t size) {
        const DWORD length = As<Function>(function)(ToNative(file), buffer, size, 0);
        failed = length == 0;
        return failed ? std::optional<std::size_t>(0) : Fitted(length, size);
    });
    return failed ? std::nullopt : std::optional<std::wstring>(std::move(path));
}

std::uint32_t GetFileAttributesA(const std::string& path) {
    return ::GetFileAttributesA(path.c_str());
}

bool FindFirstFileA(const std::string& path, FindData& data) {
    WIN32_FIND_DATAA native{};
    const HANDLE search = ::FindFirstFileA(path.c_str(), &native);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    ::FindClose(search);
    data = {native.cFileName, native.cAlternateFileName, native.dwFileAttributes};
    return true;
}

std::string GetShortPathNameA(const std::string& path) {
    return FillGrowing([&](char* buffer, std::size_t size) {
        return Fitted(::GetShortPathNameA(path.c_str(), buffer, size), size);
    });
}

std::string GetSystemDirectoryA() {
    return FillGrowing([](char* buffer, std::size_t size) {
        return Fitted(::GetSystemDirectoryA(buffer, size), size);
    });
}

std::string GetWindowsDirectoryA() {
    return FillGrowing([](char* buffer, std::size_t size) {
        return Fitted(::GetWindowsDirectoryA(buffer, size), size);
    });
}

bool CreateProcessA(const std::string& applicationName, const std::string& commandLine,
                    std::uint32_t creationFlags, const std::string& currentDirectory,
                    const StartupRecord& startup, ProcessInformation& information) {
    STARTUPINFOA startupInfo{};
    startupInfo.cb = sizeof startupInfo;
    startupInfo.dwFlags = startup.flags;
    startupInfo.wShowWindow = startup.showWindow;
    std::string writableCommandLine = commandLine;  // CreateProcessA may write to it
    PROCESS_INFORMATION native{};
    const char* name = applicationName.empty() ? nullptr : applicationName.c_str();
    if (!::CreateProcessA(name, writableCommandLine.data(), nullptr, nullptr, FALSE, creationFlags,
                          nullptr, currentDirectory.c_str(), &startupInfo, &native)) {
        return false;
    }
    information = {FromNative<KernelHandle>(native.hProcess),
                   FromNative<KernelHandle>(native.hThread), native.dwProcessId, native.dwThreadId};
    return true;
}

std::optional<std::wstring> ExpandEnvironmentStringsW(const std::wstring& text) {
    bool failed = false;
    std::wstring expanded = FillGrowing<wchar_t>([&](wchar_t* buffer, std::size_t size) {
        const DWORD length = ::ExpandEnvironmentStringsW(text.c_str(), buffer, size);
        failed = length == 0;
        // The length counts the terminating zero.
        return failed ? std::optional<std::size_t>(0) : Fitted(length - 1, size);
    });
    return failed ? std::nullopt : std::optional<std::wstring>(std::move(expanded));
}

std::optional<std::string> ExpandEnvironmentStringsA(const std::string& text) {
    bool failed = false;
    std::string expanded = FillGrowing([&](char* buffer, std::size_t size) {
        const DWORD length = ::ExpandEnvironmentStringsA(text.c_str(), buffer, size);
        failed = length == 0;
        return failed ? std::optional<std::size_t>(0) : Fitted(length - 1, size);
    });
    return failed ? std::nullopt : std::optional<std::string>(std::move(expanded));
}

bool IsEnvironmentVariableDefined(const std::string& name) {
    char value[1];
    return ::GetEnvironmentVariableA(name.c_str(), value, sizeof value) != 0 ||
           ::GetLastError() != ERROR_ENVVAR_NOT_FOUND;
}

std::uint32_t SetErrorMode(std::uint32_t mode) {
    return ::SetErrorMode(mode);
}

std::uint32_t WaitForSingleObject(KernelHandle handle, std::uint32_t milliseconds) {
    return ::WaitForSingleObject(ToNative(handle), milliseconds);
}

KernelHandle OpenProcess(std::uint32_t access, std::uint32_t processId) {
    return FromNative<KernelHandle>(::OpenProcess(access, FALSE, processId));
}

std::uint32_t GetCurrentProcessId() {
    return ::GetCurrentProcessId();
}

bool TerminateProcess(KernelHandle process, std::uint32_t exitCode) {
    return ::TerminateProcess(ToNative(process), exitCode) != FALSE;
}

bool GetExitCodeProcess(KernelHandle process, std::uint32_t& exitCode) {
    DWORD code = 0;
    const bool ok = ::GetExitCodeProcess(ToNative(process), &code) != FALSE;
    exitCode = code;
    return ok;
}

std::uint32_t GetLastError() {
    return ::GetLastError();
}

std::string FormatMessageA(std::uint32_t code) {
    char* text = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message(text != nullptr ? text : "", length);
    ::LocalFree(text);
    return message;
}

std::string GetComputerNameA() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    return ::GetComputerNameA(name, &size) ? std::string(name, size) : std::string();
}

// UNLEN, 256, is the longest logon name.
std::string GetUserNameA() {
    char name[257] = {};
    DWORD size = sizeof name;
    return ::GetUserNameA(name, &size) ? std::string(name) : std::string();
}

// A name's length, ending zero excluded, is at most 255 for every form
// the program asks for.
std::string InvokeGetComputerNameExA(ProcAddress function, std::uint32_t format) {
    char name[256] = {};
    DWORD size = sizeof name;
    using Function = BOOL(WINAPI*)(COMPUTER_NAME_FORMAT, char*, DWORD*);
    return As<Function>(function)(static_cast<COMPUTER_NAME_FORMAT>(format), name, &size)
               ? std::string(name, size)
               : std::string();
}

// A domain's name (15 characters), a backslash and a logon name (256).
std::string InvokeGetUserNameExA(ProcAddress function, std::uint32_t format) {
    char name[300] = {};
    ULONG size = sizeof name;
    using Function = BOOLEAN(WINAPI*)(int, char*, ULONG*);
    return As<Function>(function)(static_cast<int>(format), name, &size) ? std::string(name)
                                                                         : std::string();
}

namespace {

SystemTime AsSystemTime(const SYSTEMTIME& time) {
    return {time.wYear,   time.wMonth,  time.wDay,         time.wHour,
            time.wMinute, time.wSecond, time.wMilliseconds};
}

}  // namespace

SystemTime GetLocalTime() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return AsSystemTime(now);
}

SystemTime GetSystemTime() {
    SYSTEMTIME now{};
    ::GetSystemTime(&now);
    return AsSystemTime(now);
}

std::optional<SystemTime> InvokeSystemTimeToTzSpecificLocalTime(ProcAddress function,
                                                                const SystemTime& universal) {
    const SYSTEMTIME native{universal.year,   universal.month,       0,
                            universal.day,    universal.hour,        universal.minute,
                            universal.second, universal.milliseconds};
    SYSTEMTIME local{};
    using Function = BOOL(WINAPI*)(const TIME_ZONE_INFORMATION*, const SYSTEMTIME*, SYSTEMTIME*);
    if (!As<Function>(function)(nullptr, &native, &local)) {
        return std::nullopt;
    }
    return AsSystemTime(local);
}

std::uint32_t GetTickCount() {
    return ::GetTickCount();
}

void Sleep(std::uint32_t milliseconds) {
    ::Sleep(milliseconds);
}

ModuleHandle LoadLibraryA(const std::string& name) {
    return FromNative<ModuleHandle>(::LoadLibraryA(name.c_str()));
}

ModuleHandle GetModuleHandleA(const std::string& name) {
    return FromNative<ModuleHandle>(::GetModuleHandleA(name.empty() ? nullptr : name.c_str()));
}

ProcAddress GetProcAddress(ModuleHandle module, const std::string& name) {
    return ProcAddress{
        reinterpret_cast<std::uintptr_t>(::GetProcAddress(ToNative(module), name.c_str()))};
}

bool FreeLibrary(ModuleHandle module) {
    return ::FreeLibrary(ToNative(module)) != FALSE;
}

bool InvokeGetVersionExA(ProcAddress function, OsVersionRecord& record) {
    using GetVersionExFunction = BOOL(WINAPI*)(OSVERSIONINFOA*);
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    const auto getVersionEx = As<GetVersionExFunction>(function);
    const bool ok = getVersionEx(&info) != FALSE;
    record.platformId = info.dwPlatformId;
    return ok;
}

bool InvokeSetDefaultDllDirectories(ProcAddress function, std::uint32_t directoryFlags) {
    return As<BOOL(WINAPI*)(DWORD)>(function)(directoryFlags) != FALSE;
}

bool InvokeSetDllDirectoryA(ProcAddress function, const std::string& directory) {
    return As<BOOL(WINAPI*)(const char*)>(function)(directory.c_str()) != FALSE;
}

bool InvokeSetSearchPathMode(ProcAddress function, std::uint32_t flags) {
    return As<BOOL(WINAPI*)(DWORD)>(function)(flags) != FALSE;
}

std::uint32_t GetACP() {
    return ::GetACP();
}

bool IsDBCSLeadByte(std::uint8_t byte) {
    return ::IsDBCSLeadByte(byte) != FALSE;
}

// An empty text is no failure, though the functions answer 0 for it.
std::optional<std::wstring> MultiByteToWideChar(std::uint32_t codePage, std::uint32_t flags,
                                                std::string_view text) {
    if (text.empty()) {
        return std::wstring();
    }
    const int size = static_cast<int>(text.size());
    const int length = ::MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
    std::wstring wide(length, L'\0');
    if (length == 0 ||
        ::MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), length) != length) {
        return std::nullopt;
    }
    return wide;
}

// No default character and no used-default flag: UTF-8 refuses both.
std::optional<std::string> WideCharToMultiByte(std::uint32_t codePage, std::uint32_t flags,
                                               std::wstring_view text) {
    if (text.empty()) {
        return std::string();
    }
    const int size = static_cast<int>(text.size());
    const int length =
        ::WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(length, '\0');
    if (length == 0 || ::WideCharToMultiByte(codePage, flags, text.data(), size, narrow.data(),
                                             length, nullptr, nullptr) != length) {
        return std::nullopt;
    }
    return narrow;
}

int CompareStringA(std::uint32_t locale, std::uint32_t flags, const std::string& first,
                   const std::string& second) {
    return ::CompareStringA(locale, flags, first.data(), static_cast<int>(first.size()),
                            second.data(), static_cast<int>(second.size()));
}

void ExitProcess(std::uint32_t exitCode) {
    ::ExitProcess(exitCode);
}

static_assert(sizeof(CRITICAL_SECTION) <= 64 && alignof(CRITICAL_SECTION) <= alignof(void*));

CriticalSection::CriticalSection() {
    ::InitializeCriticalSection(reinterpret_cast<CRITICAL_SECTION*>(storage_));
}

CriticalSection::~CriticalSection() {
    ::DeleteCriticalSection(reinterpret_cast<CRITICAL_SECTION*>(storage_));
}

void CriticalSection::lock() {
    ::EnterCriticalSection(reinterpret_cast<CRITICAL_SECTION*>(storage_));
}

void CriticalSection::unlock() {
    ::LeaveCriticalSection(reinterpret_cast<CRITICAL_SECTION*>(storage_));
}

}  // namespace skervo::platform
