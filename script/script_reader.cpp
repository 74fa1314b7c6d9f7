#include "script/script_reader.h"

#include <algorithm>

#include "common/ansi_text.h"
#include "platform/kernel.h"
#include "script/utf8_check.h"

namespace skervo {
namespace {

constexpr char kCtrlZ = 26;
constexpr std::size_t kBufferSize = 64 * 1024;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool EndsOrBreaksLine(char c) {
    return c == '\n' || c == '\r' || c == kCtrlZ;
}

// A line is converted only while it is UTF-8 still: one that changed since
// the check pass keeps its bytes, as does one the system cannot convert.
// Never an empty line in place of a real one.
std::string InAnsiCodePage(std::string line) {
    Utf8Check check;
    check.Feed(line);
    if (!check.IsUtf8BeyondAscii()) {
        return line;
    }
    return Utf8ToAnsi(line).value_or(std::move(line));
}

}  // namespace

void ScriptReader::Open(const std::string& path, const std::wstring& widePath) {
    Close();
    // Others may read the script meanwhile, but not change it.
    file_.Reset(widePath.empty()
                    ? platform::CreateFileA(path, platform::kGenericRead, platform::kFileShareRead,
                                            platform::kOpenExisting)
                    : platform::CreateFileW(widePath, platform::kGenericRead,
                                            platform::kFileShareRead, platform::kOpenExisting));
    buffer_.resize(kBufferSize);
    ChooseEncoding();
}

void ScriptReader::Close() {
    file_.Reset();
    position_ = filled_ = 0;
    utf8_ = convertUtf8_ = false;
}

void ScriptReader::SkipByteOrderMark() {
    if (FillBuffer() && std::string_view(buffer_.data() + position_, filled_ - position_)
                            .starts_with(kByteOrderMark)) {
        position_ += kByteOrderMark.size();
    }
}

// Notepad saves UTF-8 today, often behind a byte-order mark, which is always
// skipped. A script that is UTF-8 throughout is read in the ANSI code page
// (as it is when that code page is UTF-8); one in Windows-1252 never passes
// for UTF-8, where an accented letter followed by an ASCII character is no
// sequence. Deciding takes one reading of the whole file before the first
// line. A pipe or a device cannot be read twice: what that reading saw of
// one is kept and read from.
void ScriptReader::ChooseEncoding() {
    const bool rewindable = file_ && platform::SetFilePointer(file_.Get(), 0);
    std::vector<char> seen;
    Utf8Check check;
    SkipByteOrderMark();
    while (FillBuffer()) {
        check.Feed(std::string_view(buffer_.data() + position_, filled_ - position_));
        if (!rewindable) {
            seen.insert(seen.end(), buffer_.begin() + position_, buffer_.begin() + filled_);
        }
        position_ = filled_;
    }
    utf8_ = check.IsUtf8BeyondAscii();
    convertUtf8_ = utf8_ && !AnsiIsUtf8();
    position_ = filled_ = 0;
    if (rewindable && platform::SetFilePointer(file_.Get(), 0)) {
        SkipByteOrderMark();
        return;
    }
    file_.Reset();
    filled_ = seen.size();
    buffer_ = std::move(seen);
}

bool ScriptReader::FillBuffer() {
    if (position_ < filled_) {
        return true;
    }
    std::uint32_t bytesRead = 0;
    if (!file_ || !platform::ReadFile(file_.Get(), buffer_.data(),
                                      static_cast<std::uint32_t>(buffer_.size()), bytesRead)) {
        bytesRead = 0;
    }
    position_ = 0;
    filled_ = bytesRead;
    return filled_ > 0;
}

bool ScriptReader::NextIs(char c) {
    return FillBuffer() && buffer_[position_] == c;
}

bool ScriptReader::AtEnd() {
    return !FillBuffer() || buffer_[position_] == kCtrlZ;
}

std::string ScriptReader::ReadLine() {
    std::string line;
    while (FillBuffer()) {
        const char* begin = buffer_.data() + position_;
        const char* end = buffer_.data() + filled_;
        const char* stop = std::find_if(begin, end, EndsOrBreaksLine);
        line.append(begin, stop);
        position_ += static_cast<std::size_t>(stop - begin);
        if (stop == end) {
            continue;
        }
        const char c = *stop;
        if (c == kCtrlZ) {
            break;  // left unread: the file now counts as at its end
        }
        ++position_;
        if (c == '\n') {
            break;
        }
        if (NextIs('\n')) {  // CR LF; a CR on its own is dropped
            ++position_;
            break;
        }
    }
    // Line ends and Ctrl-Z are ASCII: a line of UTF-8 text holds whole characters.
    return convertUtf8_ ? InAnsiCodePage(std::move(line)) : line;
}

bool ScriptReader::HasTextAfterEnd() {
    while (FillBuffer()) {
        const char* begin = buffer_.data() + position_;
        const char* end = buffer_.data() + filled_;
        if (std::any_of(begin, end, [](char c) { return static_cast<unsigned char>(c) > 32; })) {
            return true;
        }
        position_ = filled_;
    }
    return false;
}

}  // namespace skervo
