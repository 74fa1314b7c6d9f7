// Kernel services of the simulated desktop.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <mutex>
#include <new>
#include <stdexcept>
#include <utility>

#include "platform/kernel.h"
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

KernelHandle CreateFileA(const std::string& path, std::uint32_t, std::uint32_t, std::uint32_t) {
    const std::string stored = desktop.FilePath(path);
    if (stored.empty()) {
        return kInvalidHandle;
    }
    const std::uintptr_t handle = desktop.nextHandle++;
    desktop.handles[handle] = {.kind = sim::OpenHandle::Kind::File, .path = stored};
    return KernelHandle{handle};
}

// A wide path names the file stored under its UTF-8 form.
KernelHandle CreateFileW(const std::wstring& path, std::uint32_t access, std::uint32_t share,
                         std::uint32_t disposition) {
    return CreateFileA(Utf8Units(path), access, share, disposition);
}

std::uint32_t GetFileType(KernelHandle file) {
    const auto open = desktop.handles.find(static_cast<std::uintptr_t>(file));
    const bool pipe = open != desktop.handles.end() && desktop.pipes.contains(open->second.path);
    return pipe ? 3 : kFileTypeDisk;  // FILE_TYPE_PIPE
}

bool SetFilePointer(KernelHandle file, std::uint32_t position) {
    const auto open = desktop.handles.find(static_cast<std::uintptr_t>(file));
    if (desktop.onSetFilePointer) {
        desktop.onSetFilePointer();
    }
    if (open == desktop.handles.end() || desktop.pipes.contains(open->second.path)) {
        return false;
    }
    open->second.offset = position;
    return true;
}

bool ReadFile(KernelHandle file, char* buffer, std::uint32_t size, std::uint32_t& bytesRead) {
    const auto open = desktop.handles.find(static_cast<std::uintptr_t>(file));
    if (open == desktop.handles.end() || open->second.kind != sim::OpenHandle::Kind::File) {
        return false;
    }
    std::size_t& offset = open->second.offset;
    const std::string& bytes = desktop.files.at(open->second.path);
    bytesRead = static_cast<std::uint32_t>(std::min<std::size_t>(size, bytes.size() - offset));
    std::memcpy(buffer, bytes.data() + offset, bytesRead);
    offset += bytesRead;
    return true;
}

// The standard output only.
bool WriteFile(KernelHandle file, std::string_view bytes, std::uint32_t& written) {
    written = 0;
    if (static_cast<std::uintptr_t>(file) != kStandardOutput || !Written(bytes.size())) {
        return false;
    }
    desktop.standardOutput += bytes;
    written = static_cast<std::uint32_t>(bytes.size());
    return true;
}

bool CloseHandle(KernelHandle handle) {
    return desktop.handles.erase(static_cast<std::uintptr_t>(handle)) == 1;
}

// The program's own folder first, then the system's, which holds the
// desktop's libraries.
std::string SearchPathA(const std::string& fileName) {
    const std::string module = desktop.modulePath;
    for (const std::string& folder :
         {module.substr(0, module.rfind('\\') + 1), std::string("C:\\Windows\\System32\\")}) {
        const bool library =
            folder.ends_with("System32\\") && desktop.libraries.contains(Lower(fileName));
        if (library || desktop.programs.contains(Lower(folder + fileName))) {
            return folder + fileName;
        }
    }
    return "";
}

std::uint32_t GetLastError() {
    return desktop.lastError;
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

ModuleHandle LoadLibraryA(const std::string& name) {
    if (!desktop.libraries.contains(Lower(name))) {
        return ModuleHandle{};
    }
    const std::uintptr_t handle = desktop.nextHandle++;
    desktop.loadedLibraries[handle] = Lower(name);
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
