#pragma once
// The %NAME% a script line names, as the checker reads them: a name begins
// with a letter or _ (%20 in an address is none), and a % that opens a name
// with no % to close it is left as written by the runner.
#include <string_view>
#include <vector>

namespace skervo {

struct NamedVariable {
    std::string_view text;  // %NAME%, or %NAME without its closing %
    bool closed = true;
};

std::vector<NamedVariable> NamedVariables(std::string_view line);

}  // namespace skervo
