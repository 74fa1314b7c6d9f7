#include "check/script_places.h"

#include <algorithm>
#include <limits>

#include "common/ansi_text.h"

namespace skervo {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

ScriptPlaces::ScriptPlaces(std::string_view text, bool utf8, PositionEncoding encoding)
    : text_(text), utf8_(utf8), encoding_(encoding) {
    std::int64_t editorLine = 0;
    starts_.push_back(0);
    editorLines_.push_back(0);
    for (std::size_t at = 0; at < text.size(); ++at) {
        const bool lineFeed = text[at] == '\n';
        editorLine += lineFeed || (text[at] == '\r' && text.substr(at + 1, 1) != "\n") ? 1 : 0;
        if (lineFeed) {
            starts_.push_back(at + 1);
            editorLines_.push_back(editorLine);
        }
    }
}

// The reader turns each character of a UTF-8 line into its form in the
// ANSI code page: one byte, two in a double-byte code page, or a default.
std::size_t ScriptPlaces::AnsiWidth(const CodePoint& c) const {
    if (c.value < 0x80 || !utf8_) {
        return c.length;
    }
    const std::optional<std::string> ansi = WideToAnsi(WideOf(c.value));
    return ansi && !ansi->empty() ? ansi->size() : 1;
}

Position ScriptPlaces::At(std::size_t line, std::size_t column) const {
    std::size_t at = starts_[line];
    const std::size_t end = line + 1 < starts_.size() ? starts_[line + 1] - 1 : text_.size();
    Position position{editorLines_[line], 0};
    if (at == 0 && text_.starts_with(kByteOrderMark)) {  // the reader skips it
        at = kByteOrderMark.size();
        position.character = UnitsOf(DecodeUtf8At(text_, 0), encoding_);
    }
    for (std::size_t ansi = 0; at < end && ansi < column;) {
        if (text_[at] == '\r') {  // dropped by the reader: a line end for the editor alone
            if (at + 1 == end && end < text_.size()) {
                break;
            }
            ++position.line;
            position.character = 0;
            ++at;
            continue;
        }
        const CodePoint c = DecodeUtf8At(text_, at);
        ansi += AnsiWidth(c);
        position.character += UnitsOf(c, encoding_);
        at += c.length;
    }
    return position;
}

EditorRange ScriptPlaces::RangeOf(const Finding& finding) const {
    const std::size_t line =
        std::min(static_cast<std::size_t>(std::max(finding.line, 1)), starts_.size()) - 1;
    if (finding.length == 0) {
        return {{editorLines_[line], 0}, At(line, std::numeric_limits<std::size_t>::max())};
    }
    return {At(line, finding.column), At(line, finding.column + finding.length)};
}

int ScriptPlaces::LineAt(std::int64_t editorLine) const {
    const auto after = std::upper_bound(editorLines_.begin(), editorLines_.end(), editorLine);
    return static_cast<int>(std::max<std::ptrdiff_t>(after - editorLines_.begin(), 1));
}

}  // namespace skervo
