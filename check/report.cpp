#include "check/report.h"

#include <algorithm>

#include "check/check_texts.h"
#include "check/codes.h"

namespace skervo {
namespace {

namespace t = check_texts;

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

// A script's bytes below 0x20 are shown as \xHH: an escape sequence in a
// script must not rewrite the reviewer's terminal. Only the report's own
// line ends stay.
std::string WithControlsShown(const std::string& report) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string shown;
    shown.reserve(report.size());
    for (const char c : report) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 && c != '\n') {
            shown += "\\x";
            shown += kDigits[byte >> 4];
            shown += kDigits[byte & 0xF];
        } else {
            shown += c;
        }
    }
    return shown;
}

void AppendFinding(std::string& out, const std::string& where, const Finding& finding) {
    out += where;
    out += SeverityWord(finding.severity);
    out += ": ";
    out += finding.message;
    out += " [";
    out += finding.code;
    out += "]\n";
}

}  // namespace

// Each line's sentence comes before its findings.
std::string Report(const std::string& path, const ScriptCheck& check) {
    std::string out;
    if (!check.readable) {
        AppendFinding(out, path + ": ",
                      {0, Severity::Error, std::string(t::kUnreadable), codes::kUnreadable});
        return WithControlsShown(out);
    }
    auto sentence = check.explanations.begin();
    for (const Finding& finding : check.findings) {
        for (; sentence != check.explanations.end() && sentence->first <= finding.line;
             ++sentence) {
            out += path + ":" + std::to_string(sentence->first) + ": " + sentence->second + "\n";
        }
        AppendFinding(out, path + ":" + std::to_string(finding.line) + ": ", finding);
    }
    for (; sentence != check.explanations.end(); ++sentence) {
        out += path + ":" + std::to_string(sentence->first) + ": " + sentence->second + "\n";
    }
    if (!check.endOfRun.empty()) {
        out += path + ": " + check.endOfRun + "\n";
    }
    return WithControlsShown(out);
}

std::string NoMatchReport(const std::string& pattern) {
    std::string out;
    AppendFinding(out, pattern + ": ",
                  {0, Severity::Error, std::string(t::kNoMatch), codes::kNoMatch});
    return WithControlsShown(out);
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
