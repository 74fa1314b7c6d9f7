#include "common/system_error.h"

#include "common/text_rules.h"
#include "platform/kernel.h"

namespace skervo {

std::string SystemErrorText(std::uint32_t code) {
    const std::string text = platform::FormatMessageA(code);
    const std::string_view trimmed = Trim(text);
    return (trimmed.empty() ? std::string() : std::string(trimmed) + " ") + "(" +
           std::to_string(code) + ")";
}

}  // namespace skervo
