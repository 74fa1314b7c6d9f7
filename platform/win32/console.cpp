// The system services that only skervo-check calls, forwarded to the real
// functions. A file of their own, linked into the checker alone, so that
// skervo.exe neither imports nor holds what it never calls.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/dialup.h"
#include "platform/kernel.h"
#include "platform/services.h"
#include "platform/win32/native.h"
#include "platform/win32/ras_records.h"
// raserror.h needs windows.h first.
#include <raserror.h>

static_assert(skervo::platform::kCpOemcp == CP_OEMCP);
static_assert(skervo::platform::kStdInputHandle == STD_INPUT_HANDLE);
static_assert(skervo::platform::kStdOutputHandle == STD_OUTPUT_HANDLE);
static_assert(skervo::platform::kSemFailCriticalErrors == SEM_FAILCRITICALERRORS);
static_assert(skervo::platform::kScManagerEnumerateService == SC_MANAGER_ENUMERATE_SERVICE);
static_assert(skervo::platform::kDriveRemovable == DRIVE_REMOVABLE);
static_assert(skervo::platform::kDriveFixed == DRIVE_FIXED);
static_assert(skervo::platform::kDriveRemote == DRIVE_REMOTE);
static_assert(skervo::platform::kDriveCdrom == DRIVE_CDROM);
static_assert(skervo::platform::kDriveRamdisk == DRIVE_RAMDISK);

namespace skervo::platform {

std::vector<FindData> FindFilesA(const std::string& pattern) {
    std::vector<FindData> found;
    WIN32_FIND_DATAA native{};
    const HANDLE search = ::FindFirstFileA(pattern.c_str(), &native);
    if (search == INVALID_HANDLE_VALUE) {
        return found;
    }
    do {
        found.push_back({native.cFileName, native.cAlternateFileName, native.dwFileAttributes});
    } while (::FindNextFileA(search, &native));
    ::FindClose(search);
    return found;
}

KernelHandle GetStdHandle(std::uint32_t which) {
    return FromNative<KernelHandle>(::GetStdHandle(which));
}

bool GetConsoleMode(KernelHandle handle) {
    DWORD mode = 0;
    return ::GetConsoleMode(ToNative(handle), &mode) != FALSE;
}

bool WriteConsoleW(KernelHandle console, std::wstring_view text, std::uint32_t& written) {
    DWORD count = 0;
    const bool ok = ::WriteConsoleW(ToNative(console), text.data(), static_cast<DWORD>(text.size()),
                                    &count, nullptr) != FALSE;
    written = count;
    return ok;
}

std::uint32_t GetDriveTypeA(const std::string& root) {
    return ::GetDriveTypeA(root.c_str());
}

// The list comes in pieces of the buffer's size, each call going on from
// where the last one stopped.
bool InvokeEnumServicesStatusA(ProcAddress function, ServiceHandle manager,
                               std::vector<std::string>& names) {
    using EnumFunction = BOOL(WINAPI*)(SC_HANDLE, DWORD, DWORD, LPENUM_SERVICE_STATUSA, DWORD,
                                       LPDWORD, LPDWORD, LPDWORD);
    std::vector<ENUM_SERVICE_STATUSA> records(64 * 1024 / sizeof(ENUM_SERVICE_STATUSA));
    const DWORD size = static_cast<DWORD>(records.size() * sizeof(ENUM_SERVICE_STATUSA));
    DWORD resume = 0;
    for (;;) {
        DWORD needed = 0;
        DWORD count = 0;
        const BOOL done =
            As<EnumFunction>(function)(ToNative(manager), SERVICE_WIN32, SERVICE_STATE_ALL,
                                       records.data(), size, &needed, &count, &resume);
        if (!done && ::GetLastError() != ERROR_MORE_DATA) {
            return false;
        }
        for (DWORD k = 0; k < count; ++k) {
            names.emplace_back(records[k].lpServiceName);
        }
        if (done) {
            return true;
        }
    }
}

// A phone book holds a few entries: a second call asks for as many as the
// first said there are.
std::uint32_t InvokeRasEnumEntries(ProcAddress function, std::vector<std::string>& names) {
    using EnumFunction = DWORD(WINAPI*)(LPCSTR, LPCSTR, RasEntryNameRecord*, LPDWORD, LPDWORD);
    std::vector<RasEntryNameRecord> native(16);
    DWORD code = ERROR_BUFFER_TOO_SMALL;
    DWORD count = 0;
    for (int call = 0; call < 2 && code == ERROR_BUFFER_TOO_SMALL; ++call) {
        native.resize(std::max<std::size_t>(native.size(), count));
        native[0].dwSize = sizeof(RasEntryNameRecord);
        DWORD byteSize = native.size() * sizeof(RasEntryNameRecord);
        code = As<EnumFunction>(function)(nullptr, nullptr, native.data(), &byteSize, &count);
        count = std::max<DWORD>(count, byteSize / sizeof(RasEntryNameRecord));
    }
    for (DWORD index = 0; code == 0 && index < std::min<DWORD>(count, native.size()); ++index) {
        names.emplace_back(native[index].szEntryName,
                           strnlen(native[index].szEntryName, sizeof native[index].szEntryName));
    }
    return code;
}

}  // namespace skervo::platform
