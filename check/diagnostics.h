#pragma once
// The checker's findings as the protocol's diagnostics: the same list the
// console report writes, placed in the editor's lines.
#include <optional>
#include <string>

#include "check/finding.h"
#include "check/json.h"
#include "check/script_places.h"

namespace skervo {

void WritePosition(JsonText& out, const Position& position);
void WriteRange(JsonText& out, const EditorRange& range);
// nullopt when the value is no position.
std::optional<Position> PositionFrom(const Json& value);

void WriteDiagnostic(JsonText& out, const Finding& finding, const ScriptPlaces& places);
// A finding's message as an editor shows it: in UTF-8, its control bytes as \xHH.
std::string MessageOf(const Finding& finding);

}  // namespace skervo
