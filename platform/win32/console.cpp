// The kernel services that only skervo-check calls, forwarded to the real
// functions. A file of their own, linked into the checker alone, so that
// skervo.exe does not import what it never calls.
#include <windows.h>

#include "platform/kernel.h"
#include "platform/win32/native.h"

static_assert(skervo::platform::kCpOemcp == CP_OEMCP);
static_assert(skervo::platform::kStdOutputHandle == STD_OUTPUT_HANDLE);
static_assert(skervo::platform::kSemFailCriticalErrors == SEM_FAILCRITICALERRORS);
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

std::uint32_t SetErrorMode(std::uint32_t mode) {
    return ::SetErrorMode(mode);
}

}  // namespace skervo::platform
