// The command-line splitter: whatever the command line, every parameter is a
// non-empty word without quotes, and separators only come from quoted parts.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/command_line.h"
#include "fuzz/fuzz_check.h"

namespace {

bool IsSeparator(char c) {
    return c >= 1 && c <= 32;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> parameters = skervo::SplitParameters(line);
    const bool hasQuotes = line.find('"') != std::string_view::npos;
    std::size_t length = 0;
    for (const std::string& parameter : parameters) {
        // The switch test reads the first character of every parameter.
        Check(!parameter.empty(), "no parameter is empty");
        Check(parameter.find('"') == std::string::npos, "quotes are removed");
        Check(hasQuotes || std::none_of(parameter.begin(), parameter.end(), IsSeparator),
              "a separator outside quotes splits");
        length += parameter.size();
    }
    Check(length <= line.size(), "the parameters come from the line");

    // Written again, each in quotes, the parameters split the same.
    std::string quoted;
    for (const std::string& parameter : parameters) {
        quoted += "\"" + parameter + "\" ";
    }
    Check(skervo::SplitParameters(quoted) == parameters, "quoted parameters split the same");
    return 0;
}
