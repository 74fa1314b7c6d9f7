#include "check/hover.h"

#include "check/check_texts.h"
#include "check/diagnostics.h"
#include "check/report.h"
#include "check/utf8_text.h"

namespace skervo {
namespace {

namespace t = check_texts;

// Every ASCII punctuation mark may be escaped in Markdown: a path's
// backslashes and a title's stars then read as they are written.
std::string MarkdownText(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (std::string_view("\\`*_[]<>#+-!|~&").find(c) != std::string_view::npos) {
            out += '\\';
        }
        out += c;
    }
    return out;
}

}  // namespace

std::string HoverOf(int line, const ScriptCheck& explained, const Findings& findings) {
    std::string markdown;
    for (const auto& [number, sentence] : explained.explanations) {
        if (number == line) {
            markdown = MarkdownText(AnsiToUtf8(sentence));
        }
    }
    for (const Finding& finding : findings) {
        if (finding.line == line) {
            markdown += markdown.empty() ? "**" : "\n\n**";
            markdown += AnsiToUtf8(SeverityWord(finding.severity));
            markdown += "**";
            markdown += AnsiToUtf8(t::kColon);
            markdown += MarkdownText(MessageOf(finding));
            markdown += " `[";
            markdown += finding.code;
            markdown += "]`";
        }
    }
    return markdown;
}

}  // namespace skervo
