#pragma once
// What the text of one line shows, whatever machine runs the script.
#include "check/finding.h"

namespace skervo {

void FindInText(const CheckedLine& line, Findings& findings);

// Whether the line carries a fault that ends in the runner's error box, so
// that nothing else needs saying about it.
bool HasError(const Findings& findings, int line);

}  // namespace skervo
