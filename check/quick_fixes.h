#pragma once
// The quick fixes of the findings that have one obvious mend: the quotes of
// a path with blanks, a comment after a pause moved onto its own line, a
// final pause removed.
#include <string_view>

#include "check/finding.h"
#include "check/json.h"
#include "check/script_places.h"

namespace skervo {

// The code actions for the findings within requested, as edits of the
// document uri whose text is text.
void WriteQuickFixes(JsonText& out, std::string_view uri, std::string_view text,
                     PositionEncoding encoding, const Findings& findings,
                     const ScriptPlaces& places, const EditorRange& requested);

}  // namespace skervo
