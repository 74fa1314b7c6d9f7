#pragma once
// The program's parameters, split from the raw command line.
#include <string>
#include <string_view>
#include <vector>

#include "app/parameter_split.h"

namespace skervo {

// Fills runState.Parameters: the module path, then the split command line;
// and runState.ScriptWidePath when the script's path needs it.
void LoadParameters();

// Number of parameters after parameter 0.
int ParameterCount();

// Whether a parameter is "/word" or "-word", ignoring case.
bool HasSwitch(std::string_view word);

}  // namespace skervo
