#include "app/parameter_split.h"

#include <type_traits>

namespace skervo {
namespace {

template <typename Char>
bool IsSeparator(Char c) {
    const auto code = static_cast<std::make_unsigned_t<Char>>(c);
    return code >= 1 && code <= 32;
}

// Skips separators and the empty quoted pairs that stand where a parameter would begin.
template <typename Char>
std::size_t SkipToParameter(std::basic_string_view<Char> text, std::size_t pos) {
    for (;;) {
        while (pos < text.size() && IsSeparator(text[pos])) {
            ++pos;
        }
        if (pos + 1 >= text.size() || text[pos] != '"' || text[pos + 1] != '"') {
            return pos;
        }
        pos += 2;
    }
}

}  // namespace

// Characters are stepped one by one: in double-byte code pages trail bytes
// are never a quote or a separator, so no double-byte character is split.
template <typename Char>
std::vector<std::basic_string<Char>> SplitParameters(std::basic_string_view<Char> commandLine) {
    std::vector<std::basic_string<Char>> parameters;
    std::size_t pos = SkipToParameter(commandLine, 0);
    for (;;) {
        std::basic_string<Char> parameter;
        bool quoted = false;
        for (; pos < commandLine.size(); ++pos) {
            const Char c = commandLine[pos];
            if (!quoted && IsSeparator(c)) {
                break;
            }
            if (c == '"') {
                quoted = !quoted;
            } else {
                parameter += c;
            }
        }
        if (parameter.empty()) {
            return parameters;
        }
        parameters.push_back(std::move(parameter));
        pos = SkipToParameter(commandLine, pos);
    }
}

template std::vector<std::string> SplitParameters(std::string_view);
template std::vector<std::wstring> SplitParameters(std::wstring_view);

}  // namespace skervo
