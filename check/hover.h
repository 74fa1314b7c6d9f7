#pragma once
// What an editor shows over a line: the sentence /Expliquer gives it, and
// its findings, as Markdown.
#include <string>

#include "check/script_check.h"

namespace skervo {

// line: the runner's; explained: the script checked with explanations;
// findings: those the editor shows. Empty when the line has nothing to say.
std::string HoverOf(int line, const ScriptCheck& explained, const Findings& findings);

}  // namespace skervo
