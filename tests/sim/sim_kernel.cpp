// Kernel services of the simulated desktop.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <mutex>
#include <new>
#include <stdexcept>
#include <utility>

#include "platform/kernel.h"
#include "platform/security.h"
#include "tests/sim/desktop.h"

namespace skervo::platform {
namespace {

using sim::Conversions;
using sim::desktop;
using sim::Lower;

std::uint32_t Resolved(std::uint32_t codePage) {
    return codePage == kCpAcp ? desktop.ansiCodePage : codePage;
}

constexpr std::uintptr_t kStandardOutput = 0x11;

// Code page 850 for the letters of the checker's texts; '?' for the rest.
char InOemCodePage(wchar_t character) {
    constexpr std::pair<wchar_t, unsigned char> kLetters[] = {
        {L'\xE9', 0x82}, {L'\xE8', 0x8A}, {L'\xEA', 0x88}, {L'\xE0', 0x85}, {L'\xE7', 0x87},
        {L'\xEE', 0x8C}, {L'\xAB', 0xAE}, {L'\xBB', 0xAF}, {L'\xA0', 0xFF}};
    if (character < 0x80) {
        return static_cast<char>(character);
    }
    for (const auto& [letter, byte] : kLetters) {
        if (letter == character) {
            return static_cast<char>(byte);
        }
    }
    return '?';
}

bool Written(std::size_t size) {
    desktop.longestWrite = std::max(desktop.longestWrite, size);
    return !desktop.outputFails;
}

// UTF-16 code units as UTF-8 bytes, a lone surrogate as any other unit.
std::string Utf8Units(std::wstring_view text) {
    std::string narrow;
    for (const wchar_t character : text) {
        const auto code = static_cast<std::uint32_t>(character);
        if (code < 0x80) {
            narrow += static_cast<char>(code);
            continue;
        }
        if (code >= 0x800) {
            narrow += static_cast<char>(0xE0 | (code >> 12));
            narrow += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        } else {
            narrow += static_cast<char>(0xC0 | (code >> 6));
        }
        narrow += static_cast<char>(0x80 | (code & 0x3F));
    }
    return narrow;
}

bool IsSurrogate(wchar_t character) {
    return character >= 0xD800 && character <= 0xDFFF;
}

}  // namespace

std::string GetCommandLineA() {
    return desktop.commandLine;
}

std::wstring GetCommandLineW() {
    return desktop.commandLineW.empty()
               ? MultiByteToWideChar(kCpAcp, 0, desktop.commandLine).value_or(std::wstring())
               : desktop.commandLineW;
}

std::string GetModuleFileNameA() {
    return desktop.modulePath;
}

// A folder cannot be opened as a file; kOpenAlways creates a missing file.
// Paths name files without regard to case.
KernelHandle CreateFileA(const std::string& given, std::uint32_t access, std::uint32_t,
                         std::uint32_t disposition) {
    std::lock_guard lock(sim::seamMutex);
    // The system drops a name's trailing dots and blanks, but for a \\?\ path.
    const bool asIs = given.starts_with("\\\\?\\");
    std::string path = asIs ? given.substr(4) : given;
    while (!asIs && (path.ends_with('.') || path.ends_with(' '))) {
        path.pop_back();
    }
    const auto refused = desktop.refusedFiles.find(path);
    if (refused != desktop.refusedFiles.end() && desktop.elapsed < refused->second.until) {
        desktop.lastError = refused->second.error;
        return kInvalidHandle;
    }
    if (desktop.folders.contains(path)) {
        desktop.lastError = 5;  // ERROR_ACCESS_DENIED
        return kInvalidHandle;
    }
    const auto link = desktop.links.find(path);
    if (link != desktop.links.end() && disposition == kCreateNew) {
        desktop.lastError = kErrorFileExists;  // the link is there, whatever it leads to
        return kInvalidHandle;
    }
    const std::string target = link == desktop.links.end() ? path : link->second;
    std::string stored = desktop.FilePath(target);
    if (!stored.empty() && disposition == kCreateNew) {
        desktop.lastError = kErrorFileExists;
        return kInvalidHandle;
    }
    if (stored.empty()) {
        if (disposition == kOpenExisting) {
            desktop.lastError = 2;  // ERROR_FILE_NOT_FOUND
            return kInvalidHandle;
        }
        desktop.files[target];
        stored = target;
    }
    const std::uintptr_t handle = desktop.nextHandle++;
    desktop.handles[handle] = {
        .kind = sim::OpenHandle::Kind::File, .path = stored, .access = access};
    return KernelHandle{handle};
}

// A wide path names the file stored under its UTF-8 form.
KernelHandle CreateFileW(const std::wstring& path, std::uint32_t access, std::uint32_t share,
                         std::uint32_t disposition) {
    return CreateFileA(Utf8Units(path), access, share, disposition);
}

std::optional<std::uint64_t> SetFilePointer(KernelHandle file, std::int64_t distance,
                                            std::uint32_t moveMethod) {
    std::lock_guard lock(sim::seamMutex);
    sim::OpenHandle& open = desktop.handles.at(static_cast<std::uintptr_t>(file));
    const std::int64_t base =
        moveMethod == kFileEnd ? static_cast<std::int64_t>(desktop.files.at(open.path).size()) : 0;
    open.offset = static_cast<std::size_t>(base + distance);
    return open.offset;
}

bool ReadFile(KernelHandle file, char* buffer, std::uint32_t size, std::uint32_t& bytesRead) {
    const auto open = desktop.handles.find(static_cast<std::uintptr_t>(file));
    if (open == desktop.handles.end() || open->second.kind != sim::OpenHandle::Kind::File) {
        return false;
    }
    const auto failing = desktop.readsBeforeFailure.find(open->second.path);
    if (failing != desktop.readsBeforeFailure.end() && failing->second-- == 0) {
        desktop.lastError = 64;  // ERROR_NETNAME_DELETED
        return false;
    }
    std::size_t& offset = open->second.offset;
    const std::string& bytes = desktop.files.at(open->second.path);
    bytesRead = static_cast<std::uint32_t>(std::min<std::size_t>(size, bytes.size() - offset));
    std::memcpy(buffer, bytes.data() + offset, bytesRead);
    offset += bytesRead;
    return true;
}

// A full disk takes nothing of a write it cannot take whole; the standard
// output takes everything, unless it fails. A file opened to append, not
// to write, takes every write at its end.
bool WriteFile(KernelHandle file, std::string_view bytes) {
    std::lock_guard lock(sim::seamMutex);
    if (static_cast<std::uintptr_t>(file) == kStandardOutput) {
        desktop.standardOutput += Written(bytes.size()) ? bytes : std::string_view{};
        return !desktop.outputFails;
    }
    sim::OpenHandle& open = desktop.handles.at(static_cast<std::uintptr_t>(file));
    std::string& content = desktop.files.at(open.path);
    if (desktop.lockedByOthers.contains(open.path)) {
        content += desktop.othersWriteFirst;
    }
    if ((open.access & kFileAppendData) && !(open.access & kGenericWrite)) {
        open.offset = content.size();
    }
    if (bytes.size() > desktop.freeDiskBytes) {
        desktop.lastError = 112;  // ERROR_DISK_FULL
        return false;
    }
    desktop.freeDiskBytes -= bytes.size();
    content.replace(open.offset, bytes.size(), bytes);
    open.offset += bytes.size();
    return true;
}

bool LockFile(KernelHandle file, std::uint64_t, std::uint64_t) {
    std::lock_guard lock(sim::seamMutex);
    desktop.Advance(desktop.lockMilliseconds);
    if (desktop.lockedByOthers.contains(
            desktop.handles.at(static_cast<std::uintptr_t>(file)).path)) {
        desktop.lastError = kErrorLockViolation;
        return false;
    }
    return true;
}

bool UnlockFile(KernelHandle, std::uint64_t, std::uint64_t) {
    return true;
}

namespace {

// A file that a process holds open, this one's included, cannot be
// renamed; a link in the new name's place is replaced, never followed.
bool Moved(const std::string& from, const std::string& to, bool replace) {
    const std::string stored = desktop.FilePath(from);
    const bool held = std::any_of(desktop.handles.begin(), desktop.handles.end(),
                                  [&](const auto& open) { return open.second.path == stored; });
    desktop.lastError = stored.empty()                                    ? kErrorFileNotFound
                        : held || desktop.lockedByOthers.contains(stored) ? kErrorSharingViolation
                        : !replace && !desktop.FilePath(to).empty()       ? kErrorFileExists
                                                                          : 0;
    if (desktop.lastError != 0) {
        return false;
    }
    std::string content = std::move(desktop.files[stored]);
    desktop.files.erase(stored);
    desktop.files.erase(desktop.FilePath(to));
    desktop.links.erase(to);
    desktop.files[to] = std::move(content);
    return true;
}

}  // namespace

bool InvokeMoveFileExA(ProcAddress, const std::string& from, const std::string& to,
                       std::uint32_t flags) {
    return Moved(from, to, flags & kMoveFileReplaceExisting);
}

bool MoveFileA(const std::string& from, const std::string& to) {
    return Moved(from, to, false);
}

bool DeleteFileA(const std::string& path) {
    return desktop.files.erase(desktop.FilePath(path)) == 1;
}

std::optional<FileSecurity> InvokeGetFileSecurityW(ProcAddress function, const std::wstring& path) {
    if (desktop.ProcedureName(function) != "GetFileSecurityW") {
        throw std::logic_error("not GetFileSecurityW");
    }
    const auto found = desktop.fileSecurity.find(Utf8Units(path));
    if (found == desktop.fileSecurity.end()) {
        return FileSecurity{"S-1-5-32-544",
                            {{true, "S-1-5-18", 0x1F01FF}, {true, "S-1-5-32-544", 0x1F01FF}}};
    }
    return found->second;
}

KernelHandle InvokeOpenProcessToken(ProcAddress) {
    const std::uintptr_t handle = desktop.nextHandle++;
    desktop.handles[handle] = {.kind = sim::OpenHandle::Kind::Token};
    return KernelHandle{handle};
}

std::optional<std::string> InvokeGetTokenUser(ProcAddress, KernelHandle) {
    return desktop.tokenUser;
}

std::optional<bool> InvokeGetTokenElevation(ProcAddress, KernelHandle) {
    return desktop.tokenElevated;
}

std::optional<std::vector<std::string>> InvokeGetTokenEnabledGroups(ProcAddress, KernelHandle) {
    return desktop.tokenGroups;
}

bool GetFileInformationByHandle(KernelHandle file, FileInformation& information) {
    const std::string& path = desktop.handles.at(static_cast<std::uintptr_t>(file)).path;
    const auto links = desktop.hardLinkCounts.find(path);
    information = {desktop.reparsePoints.contains(path) ? 0x420u : 0x20u,
                   links == desktop.hardLinkCounts.end() ? 1 : links->second};
    return true;
}

// The path the handle holds, each byte taken for a character.
std::optional<std::wstring> InvokeGetFinalPathNameByHandleW(ProcAddress, KernelHandle file) {
    const std::string& path = desktop.handles.at(static_cast<std::uintptr_t>(file)).path;
    std::wstring wide = L"\\\\?\\";
    for (const char c : path) {
        wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
    return wide;
}

namespace {

// %NAME% as the system replaces it: once, names in any case, an undefined
// one left as it is, and nothing after a zero.
std::wstring Expanded(std::wstring text) {
    text.resize(std::min(text.find(L'\0'), text.size()));
    std::wstring expanded;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find(L'%', at + 1);
        const std::string name = end == std::wstring::npos
                                     ? ""
                                     : sim::Upper(Utf8Units(text.substr(at + 1, end - at - 1)));
        const auto value = desktop.environment.find(name);
        if (text[at] == L'%' && !name.empty() && value != desktop.environment.end()) {
            expanded += value->second;
            at = end + 1;
        } else {
            expanded += text[at++];
        }
    }
    return expanded;
}

}  // namespace

// The 95 family's wide functions fail.
std::optional<std::wstring> ExpandEnvironmentStringsW(const std::wstring& text) {
    return desktop.platformId == 2 ? std::optional<std::wstring>(Expanded(text)) : std::nullopt;
}

// Through the wide text, in the ANSI code page, as the system does.
std::optional<std::string> ExpandEnvironmentStringsA(const std::string& text) {
    return WideCharToMultiByte(kCpAcp, 0,
                               Expanded(MultiByteToWideChar(kCpAcp, 0, text).value_or(L"")));
}

bool IsEnvironmentVariableDefined(const std::string& name) {
    return desktop.environment.contains(sim::Upper(name));
}

std::string GetFullPathNameA(const std::string& path) {
    return path.size() > 1 && path[1] == ':' ? path : desktop.currentDirectory + path;
}

std::wstring GetFullPathNameW(const std::wstring& path) {
    const std::string full = GetFullPathNameA(Utf8Units(path));
    return MultiByteToWideChar(kCpUtf8, 0, full).value_or(path);
}

std::uint32_t GetLastError() {
    return desktop.lastError;
}

std::string FormatMessageA(std::uint32_t code) {
    return "erreur " + std::to_string(code) + ".\r\n";
}

std::string GetComputerNameA() {
    return desktop.computerName;
}

std::string GetUserNameA() {
    return desktop.userName;
}

std::string InvokeGetComputerNameExA(ProcAddress, std::uint32_t) {
    return desktop.computerDnsName;
}

std::string InvokeGetUserNameExA(ProcAddress, std::uint32_t) {
    return desktop.samUserName;
}

namespace {

// The virtual clock, from 8 o'clock universal time on the day the tests
// were written, shifted by an offset; December has days on either side.
SystemTime ClockTime(std::int64_t offsetMinutes) {
    std::lock_guard lock(sim::seamMutex);
    constexpr std::int64_t kDay = 86400000;
    const std::int64_t since = 8 * 3600000 + static_cast<std::int64_t>(desktop.elapsed) +
                               offsetMinutes * 60000 + kDay;  // from the 7th
    const std::int64_t ms = since % kDay;
    return {2026,
            12,
            static_cast<std::uint16_t>(7 + since / kDay),
            static_cast<std::uint16_t>(ms / 3600000),
            static_cast<std::uint16_t>(ms / 60000 % 60),
            static_cast<std::uint16_t>(ms / 1000 % 60),
            static_cast<std::uint16_t>(ms % 1000)};
}

}  // namespace

SystemTime GetLocalTime() {
    return ClockTime(desktop.utcOffsetMinutes);
}

SystemTime GetSystemTime() {
    return ClockTime(0);
}

// The time given is always the clock's universal time now.
std::optional<SystemTime> InvokeSystemTimeToTzSpecificLocalTime(ProcAddress, const SystemTime&) {
    return ClockTime(desktop.utcOffsetMinutes);
}

bool CloseHandle(KernelHandle handle) {
    const auto found = desktop.handles.find(static_cast<std::uintptr_t>(handle));
    if (found == desktop.handles.end()) {
        return false;
    }
    const sim::OpenHandle closed = std::move(found->second);
    desktop.handles.erase(found);
    const auto holdsIt = [&](const auto& held) {
        return held.second.kind == sim::OpenHandle::Kind::Process &&
               held.second.processId == closed.processId;
    };
    if (closed.kind == sim::OpenHandle::Kind::Process && desktop.onProcessLetGo &&
        std::none_of(desktop.handles.begin(), desktop.handles.end(), holdsIt)) {
        desktop.onProcessLetGo(closed.processId);
    }
    return true;
}

std::uint32_t GetTickCount() {
    return desktop.tick;
}

void Sleep(std::uint32_t milliseconds) {
    if (desktop.onSleep) {
        desktop.onSleep();
    }
    desktop.Advance(milliseconds);
}

std::string GetSystemDirectoryA() {
    return "C:\\Windows\\System32";
}

std::string GetWindowsDirectoryA() {
    return "C:\\Windows";
}

// The system folder's libraries go by their names, any other by its full
// path. A bare name is looked for where the system looks first by default:
// beside the program.
ModuleHandle LoadLibraryA(const std::string& name) {
    const std::string systemFolder = Lower(GetSystemDirectoryA()) + "\\";
    const std::string besideProgram =
        Lower(desktop.modulePath.substr(0, desktop.modulePath.rfind('\\') + 1) + name);
    std::string library = Lower(name);
    if (library.starts_with(systemFolder)) {
        library = library.substr(systemFolder.size());
    } else if (library.find('\\') == std::string::npos &&
               desktop.libraries.contains(besideProgram)) {
        library = besideProgram;
    }
    if (!desktop.libraries.contains(library)) {
        return ModuleHandle{};
    }
    const std::uintptr_t handle = desktop.nextHandle++;
    desktop.loadedLibraries[handle] = library;
    return ModuleHandle{handle};
}

// Modules already in the process: found, but not loaded by the program.
ModuleHandle GetModuleHandleA(const std::string& name) {
    if (name.empty()) {
        return ModuleHandle{0x400000};
    }
    if (!desktop.libraries.contains(Lower(name))) {
        return ModuleHandle{};
    }
    for (const auto& [handle, library] : desktop.residentModules) {
        if (library == Lower(name)) {
            return ModuleHandle{handle};
        }
    }
    const std::uintptr_t handle = desktop.nextHandle++;
    desktop.residentModules[handle] = Lower(name);
    return ModuleHandle{handle};
}

ProcAddress GetProcAddress(ModuleHandle module, const std::string& name) {
    std::lock_guard lock(sim::seamMutex);
    const auto handle = static_cast<std::uintptr_t>(module);
    std::string library;
    if (desktop.loadedLibraries.contains(handle)) {
        library = desktop.loadedLibraries[handle];
    } else if (desktop.residentModules.contains(handle)) {
        library = desktop.residentModules[handle];
    }
    if (library.empty() || !desktop.libraries[library].contains(name)) {
        return ProcAddress{};
    }
    desktop.procedures.push_back({handle, name});
    return ProcAddress{desktop.procedures.size()};
}

bool FreeLibrary(ModuleHandle module) {
    return desktop.loadedLibraries.erase(static_cast<std::uintptr_t>(module)) == 1;
}

bool InvokeGetVersionExA(ProcAddress function, OsVersionRecord& record) {
    if (desktop.ProcedureName(function) != "GetVersionExA") {
        throw std::logic_error("not GetVersionExA");
    }
    record.platformId = desktop.platformId;
    return desktop.versionQuerySucceeds;
}

bool InvokeSetDefaultDllDirectories(ProcAddress function, std::uint32_t directoryFlags) {
    desktop.searchRestrictions.push_back(desktop.ProcedureName(function) + " " +
                                         std::to_string(directoryFlags));
    return true;
}

bool InvokeSetDllDirectoryA(ProcAddress function, const std::string& directory) {
    desktop.searchRestrictions.push_back(desktop.ProcedureName(function) + " \"" + directory +
                                         "\"");
    return true;
}

bool InvokeSetSearchPathMode(ProcAddress function, std::uint32_t flags) {
    desktop.searchRestrictions.push_back(desktop.ProcedureName(function) + " " +
                                         std::to_string(flags));
    return true;
}

std::uint32_t GetACP() {
    return desktop.ansiCodePage;
}

bool IsDBCSLeadByte(std::uint8_t byte) {
    return desktop.ansiCodePage == 932 && ((byte >= 0x81 && byte <= 0x9F) || byte >= 0xE0);
}

// Single-byte code pages: each byte is the character of that number.
std::optional<std::wstring> MultiByteToWideChar(std::uint32_t codePage, std::uint32_t flags,
                                                std::string_view text) {
    if (Resolved(codePage) == kCpUtf8 &&
        (desktop.conversions == Conversions::FirstWindows95 ||
         (desktop.conversions == Conversions::Nt4 && flags != 0))) {
        return std::nullopt;
    }
    std::wstring wide;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (Resolved(codePage) != kCpUtf8 || byte < 0x80) {
            wide += static_cast<wchar_t>(byte);
            continue;
        }
        // A lead byte below C2 or beyond F4 is invalid; a four-byte form
        // becomes a surrogate pair, as in UTF-16.
        const int length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC2 ? 2 : 0;
        if (length == 0 || byte > 0xF4 || i + length > text.size()) {
            if (flags & kMbErrInvalidChars) {
                return std::nullopt;
            }
            wide += L'\xFFFD';
            continue;
        }
        std::uint32_t code = byte & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            code = (code << 6) | (text[i + k] & 0x3F);
        }
        if (code >= 0x10000) {
            wide += static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
            code = 0xDC00 + ((code - 0x10000) & 0x3FF);
        }
        wide += static_cast<wchar_t>(code);
        i += length - 1;
    }
    return wide;
}

// Best fit knows the full-width forms of ASCII. UTF-8 takes no
// WC_NO_BEST_FIT_CHARS, and writes a lone surrogate (the tests write no
// pairs) as U+FFFD.
std::optional<std::string> WideCharToMultiByte(std::uint32_t codePage, std::uint32_t flags,
                                               std::wstring_view text) {
    const bool utf8 = Resolved(codePage) == kCpUtf8;
    if (((flags & kWcNoBestFitChars) && (utf8 || desktop.conversions != Conversions::Current)) ||
        (utf8 && desktop.conversions != Conversions::Current && flags != 0) ||
        (utf8 && desktop.conversions == Conversions::FirstWindows95)) {
        return std::nullopt;
    }
    if (utf8) {
        std::wstring replaced(text);
        std::replace_if(replaced.begin(), replaced.end(), IsSurrogate, L'\xFFFD');
        return Utf8Units(replaced);
    }
    std::string narrow;
    for (const wchar_t character : text) {
        const auto code = static_cast<std::uint32_t>(character);
        if (codePage == kCpOemcp) {
            narrow += InOemCodePage(character);
        } else if (code <= 0xFF) {
            narrow += static_cast<char>(code);
        } else if (code >= 0xFF01 && code <= 0xFF5E && !(flags & kWcNoBestFitChars)) {
            narrow += static_cast<char>(code - 0xFEE0);
        } else {
            narrow += '?';
        }
    }
    return narrow;
}

// A Turkish user locale keeps I and i apart: their other cases are İ and ı.
int CompareStringA(std::uint32_t, std::uint32_t flags, const std::string& first,
                   const std::string& second) {
    const auto folded = [](std::string text) {
        if (desktop.userLocale == sim::kTurkish) {
            std::replace(text.begin(), text.end(), 'I', '\xFD');
        }
        return Lower(text);
    };
    const bool equal =
        (flags & kNormIgnoreCase) ? folded(first) == folded(second) : first == second;
    return equal ? kCompareEqual : (first < second ? 1 : 3);
}

KernelHandle GetStdHandle(std::uint32_t) {
    return KernelHandle{kStandardOutput};
}

bool GetConsoleMode(KernelHandle handle) {
    return static_cast<std::uintptr_t>(handle) == kStandardOutput && desktop.outputIsConsole;
}

// The 95 family has the function, but it fails there.
bool WriteConsoleW(KernelHandle console, std::wstring_view text, std::uint32_t& written) {
    written = 0;
    if (!GetConsoleMode(console) || desktop.platformId != 2 || !Written(text.size())) {
        return false;
    }
    desktop.consoleText += text;
    written = static_cast<std::uint32_t>(text.size());
    return true;
}

std::uint32_t SetErrorMode(std::uint32_t mode) {
    return std::exchange(desktop.errorMode, mode);
}

void ExitProcess(std::uint32_t exitCode) {
    throw sim::ProcessExit{exitCode};
}

static_assert(sizeof(std::mutex) <= 64);

CriticalSection::CriticalSection() {
    new (storage_) std::mutex;
}

CriticalSection::~CriticalSection() {
    std::launder(reinterpret_cast<std::mutex*>(storage_))->~mutex();
}

void CriticalSection::lock() {
    std::launder(reinterpret_cast<std::mutex*>(storage_))->lock();
}

void CriticalSection::unlock() {
    std::launder(reinterpret_cast<std::mutex*>(storage_))->unlock();
}

}  // namespace skervo::platform
