#include "common/text_rules.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>

#include "platform/kernel.h"

namespace skervo {
namespace {

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

// Whether the byte begins a character of two bytes in the ANSI code page.
// Lead bytes are never ASCII, so only the others need asking the system.
bool IsLeadByte(char c) {
    const auto byte = static_cast<std::uint8_t>(c);
    return byte >= 0x80 && platform::IsDBCSLeadByte(byte);
}

// A byte the ANSI code page leaves undefined reads as a control of the 0x80
// to 0x9F block: 0x9D, in Windows-1252, is what a terminal takes for the
// start of a command that swallows all that follows.
bool IsC1Control(char c) {
    if (static_cast<unsigned char>(c) < 0x80) {
        return false;
    }
    const std::optional<std::wstring> character =
        platform::MultiByteToWideChar(platform::kCpAcp, 0, std::string_view(&c, 1));
    return character && character->size() == 1 && (*character)[0] >= 0x80 &&
           (*character)[0] <= 0x9F;
}

// Walked character by character: in a double-byte code page the second byte
// of a character may be 0x5C, the backslash, or 0x3A, the colon.
std::size_t FileNameStart(std::string_view path) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (IsLeadByte(path[i])) {
            ++i;
        } else if (path[i] == '\\' || path[i] == ':') {
            start = i + 1;
        }
    }
    return start;
}

}  // namespace

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlankOrControl(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlankOrControl(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The second byte of a double-byte character may be a lower-case letter's:
// it is left as it is.
std::string UpperCase(std::string_view text) {
    std::string upper(text);
    for (std::size_t i = 0; i < upper.size(); ++i) {
        char& c = upper[i];
        if (IsLeadByte(c)) {
            ++i;
        } else if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

std::string_view FileNameOf(std::string_view path) {
    return path.substr(FileNameStart(path));
}

std::string_view FolderOf(std::string_view path) {
    return path.substr(0, FileNameStart(path));
}

bool IsProgramPath(std::string_view path) {
    constexpr std::string_view kProgramExtensions[] = {".EXE", ".COM", ".BAT", ".CMD"};
    while (!path.empty() && (path.back() == '.' || path.back() == ' ')) {
        path.remove_suffix(1);
    }
    const std::string upper = UpperCase(path);
    return std::any_of(std::begin(kProgramExtensions), std::end(kProgramExtensions),
                       [&upper](std::string_view extension) { return upper.ends_with(extension); });
}

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool StartsWithDrive(std::string_view path) {
    const char letter = static_cast<char>(path.empty() ? 0 : path[0] | 0x20);
    return path.size() >= 2 && letter >= 'a' && letter <= 'z' && path[1] == ':';
}

}  // namespace

std::string_view Unquoted(std::string_view text) {
    const bool oneQuotedName =
        text.size() >= 2 && text.front() == '"' && text.find('"', 1) == text.size() - 1;
    return oneQuotedName ? text.substr(1, text.size() - 2) : text;
}

bool NamesStream(std::string_view path) {
    // \\?\C:\... and \\.\C:\... name the drive after their prefix.
    if (path.size() >= 4 && IsSeparator(path[0]) && IsSeparator(path[1]) &&
        (path[2] == '?' || path[2] == '.') && IsSeparator(path[3])) {
        path.remove_prefix(4);
    }
    if (StartsWithDrive(path)) {
        path.remove_prefix(2);
    }
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (IsLeadByte(path[i])) {
            ++i;
        } else if (path[i] == ':') {
            return true;
        }
    }
    return false;
}

std::string WithControlsShown(std::string_view text, std::string_view kept) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto byte = static_cast<unsigned char>(c);
        if (IsLeadByte(c)) {  // it and a second byte are one character, never a control
            const bool pair =
                i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x40;
            shown += text.substr(i, pair ? 2 : 1);
            i += pair ? 1 : 0;
        } else if ((byte < 0x20 && kept.find(c) == std::string_view::npos) || byte == 0x7F ||
                   IsC1Control(c)) {
            shown += "\\x";
            shown += kDigits[byte >> 4];
            shown += kDigits[byte & 0xF];
        } else {
            shown += c;
        }
    }
    return shown;
}

bool IsFullPath(std::string_view path) {
    const bool drive = StartsWithDrive(path) && path.substr(2, 1) == "\\";
    const bool network = path.starts_with("\\\\") && path.find('\\', 3) != std::string_view::npos;
    return drive || network;
}

}  // namespace skervo
