#include "check/lsp_messages.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace skervo {
namespace {

constexpr std::size_t kReadPiece = 64 * 1024;
// A header longer than this is no header.
constexpr std::size_t kLargestHeader = 8 * 1024;
constexpr std::string_view kHeaderEnd = "\r\n\r\n";
constexpr std::string_view kLengthField = "content-length:";

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c;
}

// Where "Content-Length:" begins, in any case; npos when nowhere.
std::size_t FindLengthField(std::string_view text, std::size_t from) {
    for (std::size_t at = from; at + kLengthField.size() <= text.size(); ++at) {
        std::size_t k = 0;
        while (k < kLengthField.size() && Lower(text[at + k]) == kLengthField[k]) {
            ++k;
        }
        if (k == kLengthField.size()) {
            return at;
        }
    }
    return std::string_view::npos;
}

// The decimal value of the Content-Length field; nullopt when there is none
// or it is no number. A value too large to hold is the largest one.
std::optional<std::size_t> ContentLength(std::string_view header) {
    const std::size_t field = FindLengthField(header, 0);
    if (field == std::string_view::npos || (field > 0 && header[field - 1] != '\n')) {
        return std::nullopt;
    }
    std::size_t at = field + kLengthField.size();
    while (at < header.size() && (header[at] == ' ' || header[at] == '\t')) {
        ++at;
    }
    std::size_t length = 0;
    const std::size_t digits = at;
    for (; at < header.size() && header[at] >= '0' && header[at] <= '9'; ++at) {
        constexpr std::size_t kLargest = std::numeric_limits<std::size_t>::max();
        length = length > (kLargest - 9) / 10
                     ? kLargest
                     : length * 10 + static_cast<std::size_t>(header[at] - '0');
    }
    const bool lineEnds = at == header.size() || header[at] == '\r' || header[at] == ' ';
    return at > digits && lineEnds ? std::optional(length) : std::nullopt;
}

}  // namespace

// What has been taken is dropped once it is most of the buffer.
bool MessageReader::Fill() {
    if (at_ > buffer_.size() / 2) {
        buffer_.erase(0, at_);
        at_ = 0;
    }
    const std::size_t before = buffer_.size();
    buffer_.resize(before + kReadPiece);
    const std::size_t read = source_.Read(buffer_.data() + before, kReadPiece);
    buffer_.resize(before + read);
    return read > 0;
}

// A part of the field's name may end the buffer: it stays for the next read.
bool MessageReader::SkipToNextHeader() {
    for (;;) {
        const std::size_t field = FindLengthField(buffer_, at_);
        if (field != std::string::npos) {
            at_ = field;
            resync_ = false;
            return true;
        }
        at_ = std::max(at_, buffer_.size() - std::min(buffer_.size(), kLengthField.size() - 1));
        if (!Fill()) {
            return false;
        }
    }
}

bool MessageReader::SkipBody() {
    while (skip_ > 0) {
        if (at_ == buffer_.size() && !Fill()) {
            return false;
        }
        const std::size_t passed = std::min(skip_, buffer_.size() - at_);
        at_ += passed;
        skip_ -= passed;
    }
    return true;
}

Framing MessageReader::Next(std::string& body) {
    if (!SkipBody() || (resync_ && !SkipToNextHeader())) {
        return Framing::End;
    }
    std::size_t end;
    while ((end = buffer_.find(kHeaderEnd, at_)) == std::string::npos) {
        if (buffer_.size() - at_ > kLargestHeader) {
            at_ += 1;
            resync_ = true;
            return Framing::NoLength;
        }
        if (!Fill()) {
            return Framing::End;
        }
    }
    const std::optional<std::size_t> length =
        ContentLength(std::string_view(buffer_).substr(at_, end + 2 - at_));
    at_ = end + kHeaderEnd.size();
    if (!length) {
        resync_ = true;
        return Framing::NoLength;
    }
    if (*length > kLargestMessage) {
        skip_ = *length;
        return Framing::TooLarge;
    }
    while (buffer_.size() - at_ < *length) {
        if (!Fill()) {
            return Framing::End;
        }
    }
    body.assign(buffer_, at_, *length);
    at_ += *length;
    return Framing::Message;
}

std::string Framed(std::string_view body) {
    std::string framed = "Content-Length: ";
    framed += std::to_string(static_cast<long long>(body.size()));
    framed += "\r\n\r\n";
    framed += body;
    return framed;
}

}  // namespace skervo
