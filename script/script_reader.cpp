#include "script/script_reader.h"

#include <algorithm>

#include "platform/kernel.h"

namespace skervo {
namespace {

constexpr char kCtrlZ = 26;
constexpr std::size_t kBufferSize = 64 * 1024;

bool EndsOrBreaksLine(char c) {
    return c == '\n' || c == '\r' || c == kCtrlZ;
}

}  // namespace

void ScriptReader::Open(const std::string& path) {
    Close();
    // Others may read the script meanwhile, but not change it.
    file_ = platform::CreateFileA(path, platform::kGenericRead, platform::kFileShareRead,
                                  platform::kOpenExisting);
    buffer_.resize(kBufferSize);
}

void ScriptReader::Close() {
    if (file_ != platform::kInvalidHandle) {
        platform::CloseHandle(file_);
        file_ = platform::kInvalidHandle;
    }
    position_ = filled_ = 0;
}

bool ScriptReader::FillBuffer() {
    if (position_ < filled_) {
        return true;
    }
    std::uint32_t bytesRead = 0;
    if (file_ == platform::kInvalidHandle ||
        !platform::ReadFile(file_, buffer_.data(), static_cast<std::uint32_t>(buffer_.size()),
                            bytesRead)) {
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
    return line;
}

}  // namespace skervo
