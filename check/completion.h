#pragma once
// What an editor offers to type: the command forms at the start of a line,
// the services after NETSTART and NETSTOP, the phone book's entries after &.
#include <string_view>

#include "check/editor_text.h"
#include "check/json.h"
#include "check/machine.h"

namespace skervo {

// before: the editor line's text up to the cursor, in UTF-8; line: its
// number. machine is null where only the text is known.
void WriteCompletions(JsonText& out, std::string_view before, std::int64_t line,
                      PositionEncoding encoding, Machine* machine);

}  // namespace skervo
