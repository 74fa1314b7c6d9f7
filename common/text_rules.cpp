#include "common/text_rules.h"

#include <algorithm>
#include <iterator>

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
    const std::string upper = UpperCase(path);
    return std::any_of(std::begin(kProgramExtensions), std::end(kProgramExtensions),
                       [&upper](std::string_view extension) { return upper.ends_with(extension); });
}

}  // namespace skervo
