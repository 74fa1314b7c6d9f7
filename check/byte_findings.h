#pragma once
// What the reader smooths over, found in the file's own bytes: a carriage
// return that joins two lines into one, and in a UTF-8 script the characters
// that the ANSI code page lacks, which the reader turns into question marks.
#include <string_view>

#include "check/finding.h"

namespace skervo {

// Lines counted as the reader counts them: each ends at LF, and a Ctrl-Z
// ends the file. utf8: the reader took the script for UTF-8.
void FindInBytes(std::string_view bytes, bool utf8, Findings& findings);

}  // namespace skervo
