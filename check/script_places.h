#pragma once
// Where the runner's lines and columns lie in an editor's text. The runner
// ends a line at LF alone and drops a lone CR, which an editor takes for a
// line end; its columns count the bytes of the line in the ANSI code page.
#include <string_view>
#include <vector>

#include "check/editor_text.h"
#include "check/finding.h"

namespace skervo {

struct EditorRange {
    Position start;
    Position end;
};

class ScriptPlaces {
  public:
    // text is the editor's, UTF-8; utf8: the reader took it for UTF-8 and
    // converted its lines to the ANSI code page.
    ScriptPlaces(std::string_view text, bool utf8, PositionEncoding encoding);

    // The finding's place, or its whole line; a line past the text's end is
    // the text's end.
    EditorRange RangeOf(const Finding& finding) const;
    // The runner's line (from 1) that holds an editor line.
    int LineAt(std::int64_t editorLine) const;

  private:
    // The editor position at column of the runner's line (from 0), or its end.
    Position At(std::size_t line, std::size_t column) const;
    std::size_t AnsiWidth(const CodePoint& c) const;

    std::string_view text_;
    bool utf8_;
    PositionEncoding encoding_;
    std::vector<std::size_t> starts_;        // each runner line's first byte
    std::vector<std::int64_t> editorLines_;  // the editor line it begins on
};

}  // namespace skervo
