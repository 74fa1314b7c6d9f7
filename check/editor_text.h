#pragma once
// An editor's text as the protocol addresses it: UTF-8 held here, lines
// ended by LF, CR LF or a lone CR, positions counted in UTF-16 code units
// or, where both sides agreed, in bytes of UTF-8.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "check/utf8_text.h"

namespace skervo {

enum class PositionEncoding { Utf16, Utf8 };

struct Position {
    std::int64_t line = 0;
    std::int64_t character = 0;
};

// How many units of the encoding a character takes.
std::int64_t UnitsOf(const CodePoint& c, PositionEncoding encoding);
// The units of a piece of text of one line.
std::int64_t UnitsOf(std::string_view text, PositionEncoding encoding);

// Where editor line number line begins; the text's end when it has fewer lines.
std::size_t LineStart(std::string_view text, std::int64_t line);
// Where the line that begins at start ends, before its line end.
std::size_t LineEnd(std::string_view text, std::size_t start);
// The number of the text's last line.
std::int64_t LastLine(std::string_view text);

// The offset of a position. One past the end of its line, or of the text,
// stands for that end, as the protocol asks; one inside a character, for
// that character's start.
std::size_t OffsetOf(std::string_view text, Position position, PositionEncoding encoding);

}  // namespace skervo
