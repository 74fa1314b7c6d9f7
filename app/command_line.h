#pragma once
// The program's parameters, split from the raw command line.
#include <string>
#include <string_view>
#include <vector>

namespace skervo {

// The words of a raw command line (8-bit or UTF-16), the program's own first.
template <typename Char>
std::vector<std::basic_string<Char>> SplitParameters(std::basic_string_view<Char> commandLine);
inline std::vector<std::string> SplitParameters(std::string_view commandLine) {
    return SplitParameters<char>(commandLine);
}

// Fills runState.Parameters: the module path, then the split command line;
// and runState.ScriptWidePath when the script's path needs it.
void LoadParameters();

// Number of parameters after parameter 0.
int ParameterCount();

// Whether a parameter is "/word" or "-word", ignoring case.
bool HasSwitch(std::string_view word);

}  // namespace skervo
