#pragma once
// skervo-check [/Expliquer] [/Syntaxe] [/Reseau] FICHIER...
// skervo-check /Lsp [/Syntaxe] [/Reseau]
#include <vector>

#include "check/machine.h"
#include "check/script_check.h"

namespace skervo {

// Checks every file the parameters name (the program's own name left out),
// patterns with wildcards included, and writes the report to the standard
// output; answers the exit code.
// machine is null where only the text can be checked.
int RunChecker(const std::vector<ScriptFile>& parameters, Machine* machine);

}  // namespace skervo
