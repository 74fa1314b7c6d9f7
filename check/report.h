#pragma once
// The checker's output, in the form compilers use so that editors can jump
// to the line: FICHIER:LIGNE: erreur|attention|remarque: message [code].
#include <string>
#include <string_view>

#include "check/script_check.h"

namespace skervo {

std::string Report(const std::string& path, const ScriptCheck& check);
// erreur, attention or remarque.
std::string_view SeverityWord(Severity severity);
// A pattern with wildcards that names no file.
std::string NoMatchReport(const std::string& pattern);

// 0 for nothing or only remarks, 1 for an error or a warning, 2 for a file
// that cannot be read.
int ExitCodeOf(const ScriptCheck& check);

}  // namespace skervo
