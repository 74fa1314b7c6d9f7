#include "app/switches.h"

#include "common/text_rules.h"

namespace skervo {

// The switch words are ASCII, so they are compared as ASCII: a Turkish user
// locale, which keeps I and i apart, must still recognise /Silent.
bool IsSwitch(std::string_view parameter, std::string_view word) {
    if (!parameter.starts_with('-') && !parameter.starts_with('/')) {
        return false;
    }
    return UpperCase(parameter.substr(1)) == UpperCase(word);
}

}  // namespace skervo
