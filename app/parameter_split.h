#pragma once
// The words of a command line, split as skervo.exe splits its own; the
// checker splits its command line the same way.
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

}  // namespace skervo
