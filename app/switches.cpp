#include "app/switches.h"

#include "common/text_rules.h"

namespace skervo {
namespace {

bool IsIntroduced(std::string_view parameter) {
    return parameter.starts_with('-') || parameter.starts_with('/');
}

}  // namespace

// The switch words are ASCII, so they are compared as ASCII: a Turkish user
// locale, which keeps I and i apart, must still recognise /Silent.
bool IsSwitch(std::string_view parameter, std::string_view word) {
    return IsIntroduced(parameter) && UpperCase(parameter.substr(1)) == UpperCase(word);
}

std::optional<std::string_view> SwitchValue(std::string_view parameter, std::string_view word) {
    const std::size_t colon = parameter.find(':');
    if (colon == std::string_view::npos || !IsSwitch(parameter.substr(0, colon), word)) {
        return std::nullopt;
    }
    return parameter.substr(colon + 1);
}

}  // namespace skervo
