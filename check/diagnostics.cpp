#include "check/diagnostics.h"

#include "check/report.h"
#include "check/utf8_text.h"
#include "common/text_rules.h"

namespace skervo {
namespace {

// The protocol's DiagnosticSeverity.
std::int64_t SeverityNumber(Severity severity) {
    switch (severity) {
        case Severity::Error:
            return 1;
        case Severity::Warning:
            return 2;
        case Severity::Remark:
            return 3;
    }
    return 1;
}

}  // namespace

void WritePosition(JsonText& out, const Position& position) {
    out.Open('{').Key("line").Number(position.line).Key("character").Number(position.character);
    out.Close('}');
}

void WriteRange(JsonText& out, const EditorRange& range) {
    out.Open('{').Key("start");
    WritePosition(out, range.start);
    out.Key("end");
    WritePosition(out, range.end);
    out.Close('}');
}

std::optional<Position> PositionFrom(const Json& value) {
    const std::optional<std::int64_t> line = value["line"].Integer();
    const std::optional<std::int64_t> character = value["character"].Integer();
    if (!line || !character) {
        return std::nullopt;
    }
    return Position{*line, *character};
}

std::string MessageOf(const Finding& finding) {
    return AnsiToUtf8(WithControlsShown(finding.message, ""));
}

void WriteDiagnostic(JsonText& out, const Finding& finding, const ScriptPlaces& places) {
    out.Open('{').Key("range");
    WriteRange(out, places.RangeOf(finding));
    out.Key("severity").Number(SeverityNumber(finding.severity));
    out.Key("code").String(finding.code).Key("source").String("skervo-check");
    out.Key("message").String(MessageOf(finding)).Close('}');
}

}  // namespace skervo
