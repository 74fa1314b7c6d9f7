#include "script/script_reader.h"

#include <algorithm>
#include <vector>

#include "common/ansi_text.h"
#include "common/poll_intervals.h"
#include "platform/kernel.h"
#include "script/utf8_check.h"

namespace skervo {
namespace {

constexpr char kCtrlZ = 26;
constexpr std::uint32_t kReadPiece = 64 * 1024;
// A script being copied over is held by the copy for a moment: long enough
// for a copy over a network, short enough not to hold up a logon.
constexpr std::uint32_t kWaitForCopyMilliseconds = 10000;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool EndsOrBreaksLine(char c) {
    return c == '\n' || c == '\r' || c == kCtrlZ;
}

// A line is converted only while it is UTF-8 still; one the system cannot
// convert keeps its bytes. Never an empty line in place of a real one.
std::string InAnsiCodePage(std::string line) {
    Utf8Check check;
    check.Feed(line);
    if (!check.IsUtf8BeyondAscii()) {
        return line;
    }
    return Utf8ToAnsi(line).value_or(std::move(line));
}

}  // namespace

platform::KernelHandle OpenForReading(const std::string& path, const std::wstring& widePath) {
    return widePath.empty()
               ? platform::CreateFileA(path, platform::kGenericRead, platform::kFileShareRead,
                                       platform::kOpenExisting)
               : platform::CreateFileW(widePath, platform::kGenericRead, platform::kFileShareRead,
                                       platform::kOpenExisting);
}

// Reading to the end, rather than asking for the size, serves a pipe or a
// device as well as a file.
bool ScriptReader::ReadWholeFile(const std::string& path, const std::wstring& widePath,
                                 const ReadPermission& mayRead) {
    platform::OwnedHandle file(OpenForReading(path, widePath));
    for (std::uint32_t waited = 0; !file && waited < kWaitForCopyMilliseconds;
         waited += kPollIntervalMilliseconds) {
        if (platform::GetLastError() != platform::kErrorSharingViolation) {
            break;
        }
        platform::Sleep(kPollIntervalMilliseconds);
        file.Reset(OpenForReading(path, widePath));
    }
    if (!file) {
        openError_ = platform::GetLastError();
        return false;
    }
    if (mayRead && !mayRead(file.Get())) {
        return false;
    }
    // Half a script is not run: a read that fails (a share gone) reads nothing.
    std::vector<char> piece(kReadPiece);
    for (;;) {
        std::uint32_t bytesRead = 0;
        if (!platform::ReadFile(file.Get(), piece.data(), kReadPiece, bytesRead)) {
            openError_ = platform::GetLastError();
            text_.clear();
            return false;
        }
        if (bytesRead == 0) {
            return true;
        }
        text_.append(piece.data(), bytesRead);
    }
}

// Read, the file's bytes are taken as any others.
void ScriptReader::Open(const std::string& path, const std::wstring& widePath,
                        const ReadPermission& mayRead) {
    ScriptReader file;
    const bool opened = file.ReadWholeFile(path, widePath, mayRead);
    Take(std::move(file.text_));
    opened_ = opened;
    openError_ = file.openError_;
}

// Notepad saves UTF-8 today, often behind a byte-order mark, which is always
// skipped. A script that is UTF-8 throughout is read in the ANSI code page
// (as it is when that code page is UTF-8); one in Windows-1252 never passes
// for UTF-8, where an accented letter followed by an ASCII character is no
// sequence.
void ScriptReader::Take(std::string bytes) {
    *this = ScriptReader();
    text_ = std::move(bytes);
    opened_ = true;
    if (std::string_view(text_).starts_with(kByteOrderMark)) {
        position_ = kByteOrderMark.size();
    }
    Utf8Check check;
    check.Feed(std::string_view(text_).substr(position_));
    utf8_ = check.IsUtf8BeyondAscii();
    convertUtf8_ = utf8_ && !AnsiIsUtf8();
}

bool ScriptReader::AtEnd() const {
    return position_ >= text_.size() || text_[position_] == kCtrlZ;
}

std::string ScriptReader::ReadLine() {
    std::string line;
    while (position_ < text_.size()) {
        const auto begin = text_.begin() + static_cast<std::ptrdiff_t>(position_);
        const auto stop = std::find_if(begin, text_.end(), EndsOrBreaksLine);
        line.append(begin, stop);
        position_ = static_cast<std::size_t>(stop - text_.begin());
        if (stop == text_.end() || *stop == kCtrlZ) {
            break;  // a Ctrl-Z is left unread: the file now counts as at its end
        }
        ++position_;
        if (*stop == '\n') {
            break;
        }
        if (position_ < text_.size() && text_[position_] == '\n') {  // CR LF
            ++position_;
            break;
        }
        // a CR on its own is dropped, and the line goes on
    }
    // Line ends and Ctrl-Z are ASCII: a line of UTF-8 text holds whole characters.
    return convertUtf8_ ? InAnsiCodePage(std::move(line)) : line;
}

bool ScriptReader::HasTextAfterEnd() const {
    return std::any_of(text_.begin() + static_cast<std::ptrdiff_t>(position_), text_.end(),
                       [](char c) { return static_cast<unsigned char>(c) > 32; });
}

}  // namespace skervo
