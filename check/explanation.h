#pragma once
// /Expliquer: one French sentence for what the runner will do.
#include <string>
#include <vector>

#include "check/line_action.h"

namespace skervo {

std::string Explain(const LineAction& action, const CheckedLine& line);
// Which started applications the end of the run closes or kills; empty when none.
std::string ExplainEndOfRun(const std::vector<LineAction>& closedAtEnd,
                            const std::string& connectionName);

}  // namespace skervo
