#include "script/script_reader.h"

#include <algorithm>

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

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A character the ANSI code page lacks becomes a question mark.
std::string Utf8ToAnsi(const std::string& line) {
    bool lossy = false;
    return platform::WideCharToMultiByte(
        platform::kCpAcp, platform::MultiByteToWideChar(platform::kCpUtf8, line), lossy);
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
    utf8_ = false;
}

void ScriptReader::SkipByteOrderMark() {
    if (FillBuffer() && std::string_view(buffer_.data() + position_, filled_ - position_)
                            .starts_with(kByteOrderMark)) {
        position_ += kByteOrderMark.size();
    }
}

// Notepad saves UTF-8 today, often behind a byte-order mark, which is always
// skipped. A script that is UTF-8 throughout is read in the ANSI code page;
// one in Windows-1252 never passes for UTF-8, where an accented letter
// followed by an ASCII character is no sequence. Deciding takes one reading
// of the whole file before the first line.
void ScriptReader::ChooseEncoding() {
    Utf8Check check;
    SkipByteOrderMark();
    while (FillBuffer()) {
        check.Feed(std::string_view(buffer_.data() + position_, filled_ - position_));
        position_ = filled_;
    }
    utf8_ = check.IsUtf8BeyondAscii();
    position_ = filled_ = 0;
    if (file_ && platform::SetFilePointer(file_.Get(), 0)) {
        SkipByteOrderMark();
    }
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
    return utf8_ && !IsAscii(line) ? Utf8ToAnsi(line) : line;
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
