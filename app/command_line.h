#pragma once
// The program's parameters, split from the raw command line.
#include <string>
#include <string_view>
#include <vector>

namespace skervo {

// The words of a raw command line, the program's own first.
std::vector<std::string> SplitParameters(std::string_view commandLine);

// Fills runState.Parameters: the module path, then the split command line.
void LoadParameters();

// Number of parameters after parameter 0.
int ParameterCount();

// Whether a parameter is "/word" or "-word", ignoring case.
bool HasSwitch(std::string_view word);

}  // namespace skervo
