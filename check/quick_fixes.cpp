#include "check/quick_fixes.h"

#include <string>

#include "check/check_texts.h"
#include "check/codes.h"
#include "check/diagnostics.h"
#include "check/utf8_text.h"

namespace skervo {
namespace {

namespace t = check_texts;

bool NotAfter(const Position& a, const Position& b) {
    return a.line < b.line || (a.line == b.line && a.character <= b.character);
}

void WriteEdit(JsonText& out, const EditorRange& range, std::string_view text) {
    out.Open('{').Key("range");
    WriteRange(out, range);
    out.Key("newText").String(text).Close('}');
}

// "@30 # commentaire" becomes "# commentaire", then "@30" on a line of its
// own, with the document's own line end. Empty where the part is no comment.
std::string CommentMoved(std::string_view line, std::size_t comment, std::string_view lineEnd) {
    if (comment >= line.size() || line[comment] != '#') {
        return {};
    }
    const std::string_view before = line.substr(0, comment);
    return std::string(line.substr(comment)) + std::string(lineEnd) +
           std::string(before.substr(0, before.find_last_not_of(" \t") + 1));
}

// The action's title and edits, written after its envelope's start; false
// when the finding has no fix.
bool WriteFix(JsonText& out, const Finding& finding, std::string_view text,
              PositionEncoding encoding, const EditorRange& range) {
    if (finding.code == codes::kQuotes && finding.length > 0) {
        WriteEdit(out, {range.start, range.start}, "\"");
        WriteEdit(out, {range.end, range.end}, "\"");
        return true;
    }
    if (finding.code == codes::kFinalPause) {
        WriteEdit(out, range, "");
        return true;
    }
    const std::size_t lineStart = LineStart(text, range.start.line);
    const std::string_view line = text.substr(lineStart, LineEnd(text, lineStart) - lineStart);
    const std::string moved =
        CommentMoved(line, OffsetOf(text, range.start, encoding) - lineStart,
                     text.find("\r\n") != std::string_view::npos ? "\r\n" : "\n");
    if (finding.code != codes::kExtraText || finding.length == 0 || moved.empty()) {
        return false;
    }
    WriteEdit(out, {{range.start.line, 0}, {range.start.line, UnitsOf(line, encoding)}}, moved);
    return true;
}

std::string_view TitleOf(const Finding& finding) {
    return finding.code == codes::kQuotes       ? t::kFixQuotes
           : finding.code == codes::kFinalPause ? t::kFixFinalPause
                                                : t::kFixComment;
}

}  // namespace

// Each action is written whole, then taken back when its finding has no fix.
void WriteQuickFixes(JsonText& out, std::string_view uri, std::string_view text,
                     PositionEncoding encoding, const Findings& findings,
                     const ScriptPlaces& places, const EditorRange& requested) {
    out.Open('[');
    for (const Finding& finding : findings) {
        const EditorRange range = places.RangeOf(finding);
        if (!NotAfter(range.start, requested.end) || !NotAfter(requested.start, range.end)) {
            continue;
        }
        JsonText action;
        action.Open('{').Key("title").String(AnsiToUtf8(TitleOf(finding)));
        action.Key("kind").String("quickfix").Key("isPreferred").Boolean(true);
        action.Key("diagnostics").Open('[');
        WriteDiagnostic(action, finding, places);
        action.Close(']').Key("edit").Open('{').Key("changes").Open('{').Key(uri).Open('[');
        if (WriteFix(action, finding, text, encoding, range)) {
            out.Written(action.Close(']').Close('}').Close('}').Close('}').Text());
        }
    }
    out.Close(']');
}

}  // namespace skervo
