// The kernel services that skervo-check uses, on a POSIX system: files by
// descriptor, Windows-1252 as the ANSI code page, and outputs that take
// UTF-8 text.
#include "platform/kernel.h"

#include <errno.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <optional>

namespace skervo::platform {
namespace {

// Windows-1252 from 0x80 to 0x9F; the five bytes it leaves undefined map to
// the C1 controls of the same value, as Windows maps them. The rest is Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

wchar_t FromAnsi(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

// The byte for a character, '?' when the code page has none.
char ToAnsi(wchar_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<char>(c);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// wchar_t holds whole characters here (32 bits): no surrogates to pair.
std::optional<std::wstring> DecodeUtf8(std::string_view text) {
    std::wstring wide;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        char32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
        if (lead >= 0x80 && (lead < 0xC2 || lead > 0xF4 || i + length > text.size())) {
            return {};
        }
        for (int k = 1; k < length; ++k) {
            const auto trail = static_cast<unsigned char>(text[i + k]);
            if ((trail & 0xC0) != 0x80) {
                return {};
            }
            c = (c << 6) | (trail & 0x3F);
        }
        wide += static_cast<wchar_t>(c);
        i += length;
    }
    return wide;
}

std::string EncodeUtf8(std::wstring_view text) {
    std::string out;
    for (wchar_t c : text) {
        AppendUtf8(out, static_cast<char32_t>(c));
    }
    return out;
}

KernelHandle HandleOf(int descriptor) {
    return KernelHandle{static_cast<std::uintptr_t>(descriptor) + 1};
}

int DescriptorOf(KernelHandle handle) {
    return static_cast<int>(static_cast<std::uintptr_t>(handle) - 1);
}

bool IsFolder(int descriptor) {
    struct stat status {};
    return ::fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode);
}

// A folder cannot be opened as a file, as on Windows. A named pipe opens
// without waiting for its writer; its reads wait as any pipe's do.
KernelHandle Open(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (descriptor < 0) {
        return KernelHandle{};
    }
    if (IsFolder(descriptor) ||
        ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK) != 0) {
        ::close(descriptor);
        return KernelHandle{};
    }
    return HandleOf(descriptor);
}

// Writes all of the bytes, or fails.
bool WriteAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

// Read access only, which is all the checker asks for.
KernelHandle CreateFileA(const std::string& path, std::uint32_t, std::uint32_t, std::uint32_t) {
    return Open(path);
}

KernelHandle CreateFileW(const std::wstring& path, std::uint32_t, std::uint32_t, std::uint32_t) {
    return Open(EncodeUtf8(path));
}

// No file is ever held by another program here: no sharing violation to wait out.
std::uint32_t GetLastError() {
    return static_cast<std::uint32_t>(errno);
}

void Sleep(std::uint32_t milliseconds) {
    ::usleep(milliseconds * 1000);
}

bool ReadFile(KernelHandle file, char* buffer, std::uint32_t size, std::uint32_t& bytesRead) {
    const ssize_t read = ::read(DescriptorOf(file), buffer, size);
    bytesRead = read > 0 ? static_cast<std::uint32_t>(read) : 0;
    return read >= 0;
}

bool WriteFile(KernelHandle file, std::string_view bytes) {
    return WriteAll(DescriptorOf(file), bytes);
}

bool CloseHandle(KernelHandle handle) {
    return ::close(DescriptorOf(handle)) == 0;
}

std::uint32_t GetACP() {
    return 1252;
}

bool IsDBCSLeadByte(std::uint8_t) {
    return false;
}

// The flags change nothing here: UTF-8 that is not well formed is refused,
// and Windows-1252 has a character for every byte.
std::optional<std::wstring> MultiByteToWideChar(std::uint32_t codePage, std::uint32_t,
                                                std::string_view text) {
    if (codePage == kCpUtf8) {
        return DecodeUtf8(text);
    }
    std::wstring wide;
    for (char c : text) {
        wide += FromAnsi(static_cast<unsigned char>(c));
    }
    return wide;
}

std::optional<std::string> WideCharToMultiByte(std::uint32_t codePage, std::uint32_t,
                                               std::wstring_view text) {
    if (codePage == kCpUtf8) {
        return EncodeUtf8(text);
    }
    std::string narrow;
    for (wchar_t c : text) {
        narrow += ToAnsi(c);
    }
    return narrow;
}

// Switch words are ASCII: their case is ASCII's.
int CompareStringA(std::uint32_t, std::uint32_t flags, const std::string& first,
                   const std::string& second) {
    const int order = (flags & kNormIgnoreCase) ? ::strcasecmp(first.c_str(), second.c_str())
                                                : first.compare(second);
    return order < 0 ? 1 : order == 0 ? kCompareEqual : 3;
}

// The shell expands the wildcards of a POSIX command line: a pattern left
// on it matched nothing.
std::vector<FindData> FindFilesA(const std::string&) {
    return {};
}

KernelHandle GetStdHandle(std::uint32_t which) {
    return HandleOf(which == kStdInputHandle ? STDIN_FILENO : STDOUT_FILENO);
}

// Terminals, files and pipes alike take UTF-8 text here: every output is
// answered as a console, whose wide text is written in UTF-8.
bool GetConsoleMode(KernelHandle) {
    return true;
}

bool WriteConsoleW(KernelHandle console, std::wstring_view text, std::uint32_t& written) {
    written = WriteAll(DescriptorOf(console), EncodeUtf8(text))
                  ? static_cast<std::uint32_t>(text.size())
                  : 0;
    return written == text.size();
}

// The Linux checker reads scripts meant for other machines: its own
// environment tells nothing of theirs, and nothing is replaced.
std::optional<std::wstring> ExpandEnvironmentStringsW(const std::wstring&) {
    return std::nullopt;
}

std::optional<std::string> ExpandEnvironmentStringsA(const std::string& text) {
    return text;
}

bool IsEnvironmentVariableDefined(const std::string&) {
    return false;
}

std::uint32_t SetErrorMode(std::uint32_t) {
    return 0;
}

}  // namespace skervo::platform
