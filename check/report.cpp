#include "check/report.h"

#include <algorithm>
#include <limits>

#include "check/check_texts.h"
#include "check/codes.h"
#include "common/text_rules.h"

namespace skervo {
namespace {

namespace t = check_texts;

// A script's control bytes, and a file name's, tab too, are shown as \xHH, so
// that an escape sequence cannot rewrite the reviewer's terminal, nor a line
// end forge a line of the report.
void AppendLine(std::string& out, std::string_view line) {
    out += WithControlsShown(line, "");
    out += '\n';
}

void AppendFinding(std::string& out, const std::string& where, const Finding& finding) {
    AppendLine(out, where + std::string(SeverityWord(finding.severity)) + ": " + finding.message +
                        " [" + std::string(finding.code) + "]");
}

}  // namespace

std::string_view SeverityWord(Severity severity) {
    switch (severity) {
        case Severity::Error:
            return t::kError;
        case Severity::Warning:
            return t::kWarning;
        case Severity::Remark:
            return t::kRemark;
    }
    return t::kError;
}

// Each line's sentence comes before its findings.
std::string Report(const std::string& path, const ScriptCheck& check) {
    std::string out;
    if (!check.readable) {
        AppendFinding(out, path + ": ",
                      {0, Severity::Error, std::string(t::kUnreadable), codes::kUnreadable});
        return out;
    }
    auto sentence = check.explanations.begin();
    const auto appendSentencesUpTo = [&](int line) {
        for (; sentence != check.explanations.end() && sentence->first <= line; ++sentence) {
            AppendLine(out, path + ":" + std::to_string(sentence->first) + ": " + sentence->second);
        }
    };
    for (const Finding& finding : check.findings) {
        appendSentencesUpTo(finding.line);
        AppendFinding(out, path + ":" + std::to_string(finding.line) + ": ", finding);
    }
    appendSentencesUpTo(std::numeric_limits<int>::max());
    if (!check.endOfRun.empty()) {
        AppendLine(out, path + ": " + check.endOfRun);
    }
    return out;
}

std::string NoMatchReport(const std::string& pattern) {
    std::string out;
    AppendFinding(out, pattern + ": ",
                  {0, Severity::Error, std::string(t::kNoMatch), codes::kNoMatch});
    return out;
}

int ExitCodeOf(const ScriptCheck& check) {
    if (!check.readable) {
        return 2;
    }
    const bool fault = std::any_of(check.findings.begin(), check.findings.end(),
                                   [](const Finding& f) { return f.severity != Severity::Remark; });
    return fault ? 1 : 0;
}

}  // namespace skervo
