#pragma once
// skervo-check C:\Scripts\*.skervo: a parameter that names files with the
// wildcards * and ?, as Windows console programs take it.
#include <vector>

#include "check/script_check.h"

namespace skervo {

bool HasWildcards(const ScriptFile& parameter);

// The files (not the folders) the pattern names, in the order the system
// finds them, each shown as the pattern's folder as typed and its name;
// empty when it names none.
std::vector<ScriptFile> ExpandWildcards(const ScriptFile& pattern);

}  // namespace skervo
