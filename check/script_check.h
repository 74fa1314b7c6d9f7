#pragma once
// One script checked: read as the runner reads it, line by line.
#include <string>
#include <utility>
#include <vector>

#include "check/finding.h"
#include "check/machine.h"

namespace skervo {

struct ScriptFile {
    std::string path;       // as shown, in the ANSI code page
    std::wstring widePath;  // opened by this path when the ANSI one lost characters
};

enum class Explanations { Left, Given };

struct CheckOptions {
    Explanations explanations = Explanations::Left;
    Machine* machine = nullptr;  // null: the text alone
};

struct ScriptCheck {
    bool readable = false;
    bool utf8 = false;  // read as UTF-8, its lines converted to the ANSI code page
    Findings findings;
    std::vector<std::pair<int, std::string>> explanations;  // line, sentence
    std::string endOfRun;                                   // empty when nothing is closed
};

ScriptCheck CheckScript(const ScriptFile& file, const CheckOptions& options);
// A script's bytes as an editor would save them.
ScriptCheck CheckText(std::string bytes, const CheckOptions& options);

}  // namespace skervo
