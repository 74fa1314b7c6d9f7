#include "check/editor_text.h"

namespace skervo {

std::int64_t UnitsOf(const CodePoint& c, PositionEncoding encoding) {
    if (encoding == PositionEncoding::Utf8) {
        return static_cast<std::int64_t>(c.length);
    }
    return c.value >= 0x10000 ? 2 : 1;
}

std::int64_t UnitsOf(std::string_view text, PositionEncoding encoding) {
    std::int64_t units = 0;
    for (std::size_t at = 0; at < text.size();) {
        const CodePoint c = DecodeUtf8At(text, at);
        units += UnitsOf(c, encoding);
        at += c.length;
    }
    return units;
}

std::size_t LineStart(std::string_view text, std::int64_t line) {
    std::size_t at = 0;
    for (; line > 0 && at < text.size(); --line) {
        at = LineEnd(text, at);
        if (at < text.size()) {
            at += text.substr(at, 2) == "\r\n" ? 2 : 1;
        }
    }
    return at;
}

std::size_t LineEnd(std::string_view text, std::size_t start) {
    const std::size_t end = text.find_first_of("\r\n", start);
    return end == std::string_view::npos ? text.size() : end;
}

std::int64_t LastLine(std::string_view text) {
    std::int64_t line = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        line += text[at] == '\n' || (text[at] == '\r' && text.substr(at + 1, 1) != "\n") ? 1 : 0;
    }
    return line;
}

std::size_t OffsetOf(std::string_view text, Position position, PositionEncoding encoding) {
    if (position.line < 0) {
        return 0;
    }
    std::size_t at = LineStart(text, position.line);
    const std::size_t end = LineEnd(text, at);
    for (std::int64_t units = 0; at < end;) {
        const CodePoint c = DecodeUtf8At(text, at);
        units += UnitsOf(c, encoding);
        if (units > position.character) {
            break;
        }
        at += c.length;
    }
    return at;
}

}  // namespace skervo
