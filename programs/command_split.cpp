#include "programs/command_split.h"

#include "common/text_rules.h"

namespace skervo {

CommandSplit SplitCommandLine(std::string_view text) {
    std::size_t quotes = 0;
    std::size_t split = text.size();
    for (std::size_t i = 0; i < text.size(); ++i) {
        quotes += text[i] == '"';
        if (text[i] == ' ' && quotes != 1) {
            split = i;
            break;
        }
    }
    CommandSplit result;
    result.arguments = text.substr(split);
    if (text.starts_with('"')) {
        // Drop the opening quote and the character before the split, the closing one.
        result.program = split >= 2 ? text.substr(1, split - 2) : std::string_view{};
    } else {
        result.program = text.substr(0, split);
    }
    return result;
}

ServiceWord ServiceWordOf(std::string_view program) {
    const std::string word = UpperCase(program);
    if (word == "NETSTART") {
        return ServiceWord::Start;
    }
    return word == "NETSTOP" ? ServiceWord::Stop : ServiceWord::None;
}

}  // namespace skervo
