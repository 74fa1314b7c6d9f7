#pragma once
// How a launch text divides into the program and its arguments, and which
// program words are service commands instead.
#include <string>
#include <string_view>

namespace skervo {

struct CommandSplit {
    std::string program;    // without its quotes
    std::string arguments;  // from the blank where the text was split, or empty
};

// Splits at the first blank that is not inside the first pair of quotes.
CommandSplit SplitCommandLine(std::string_view text);

enum class ServiceWord { None, Start, Stop };

// NETSTART and NETSTOP, in any case, as the whole program part.
ServiceWord ServiceWordOf(std::string_view program);

}  // namespace skervo
