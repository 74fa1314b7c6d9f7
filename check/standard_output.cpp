#include "check/standard_output.h"

#include <algorithm>
#include <optional>
#include <string>

#include "platform/kernel.h"

namespace skervo {
namespace {

// The consoles of Windows 7 and older refuse a write of more than about
// 64 KB: each write stays well below it.
constexpr std::size_t kPieceSize = 8192;

bool IsHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

// At most kPieceSize characters, never the first half of a surrogate pair alone.
std::size_t PieceLength(std::wstring_view text) {
    std::size_t length = std::min(text.size(), kPieceSize);
    if (length < text.size() && length > 1 && IsHighSurrogate(text[length - 1])) {
        --length;
    }
    return length;
}

bool WriteBytes(platform::KernelHandle output, std::string_view bytes) {
    for (; !bytes.empty(); bytes.remove_prefix(std::min(bytes.size(), kPieceSize))) {
        if (!platform::WriteFile(output, bytes.substr(0, kPieceSize))) {
            return false;
        }
    }
    return true;
}

// The 95 family answers WriteConsoleW with a failure: from the first piece
// it refuses on, the rest goes in the console's own code page, the OEM one.
bool WriteToConsole(platform::KernelHandle console, std::wstring_view text) {
    bool wide = true;
    while (!text.empty()) {
        const std::wstring_view piece = text.substr(0, PieceLength(text));
        std::uint32_t written = 0;
        wide = wide && platform::WriteConsoleW(console, piece, written) && written > 0;
        if (!wide) {
            const std::optional<std::string> oem =
                platform::WideCharToMultiByte(platform::kCpOemcp, 0, piece);
            if (!oem || !WriteBytes(console, *oem)) {
                return false;
            }
            written = static_cast<std::uint32_t>(piece.size());
        }
        text.remove_prefix(written);
    }
    return true;
}

}  // namespace

// A console shows its OEM code page (850 on a French Windows), in which the
// ANSI bytes of "vérifie" read "vÚrifie"; a file or a pipe keeps them.
bool WriteStandardOutput(std::string_view text) {
    const platform::KernelHandle output = platform::GetStdHandle(platform::kStdOutputHandle);
    if (!platform::GetConsoleMode(output)) {
        return WriteBytes(output, text);
    }
    const std::optional<std::wstring> wide =
        platform::MultiByteToWideChar(platform::kCpAcp, 0, text);
    return wide && WriteToConsole(output, *wide);
}

}  // namespace skervo
