#include "script/count.h"

#include "common/text_rules.h"

namespace skervo {
namespace {

int DigitValue(char c, int base) {
    int value = 99;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    }
    return value < base ? value : -1;
}

// The digits after a hexadecimal prefix, or the whole text when it has none.
std::string_view TakeHexPrefix(std::string_view text) {
    for (std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
        if (text.substr(0, prefix.size()) == prefix) {
            return text.substr(prefix.size());
        }
    }
    return text;
}

}  // namespace

std::optional<std::int32_t> ParseCount(std::string_view text) {
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        text.remove_prefix(1);
    }
    int base = 10;
    if (std::string_view digits = TakeHexPrefix(text); digits.size() < text.size()) {
        base = 16;
        text = digits;
    }
    if (text.empty()) {
        return std::nullopt;
    }
    // Hexadecimal counts are 32-bit patterns ($FFFFFFFF is -1); decimal
    // ones must lie in the signed range.
    const std::uint64_t limit = base == 16 ? 0xFFFFFFFFull : 0x7FFFFFFFull + (negative ? 1 : 0);
    std::uint64_t value = 0;
    for (char c : text) {
        const int digit = DigitValue(c, base);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (value > limit) {
            return std::nullopt;
        }
    }
    const auto pattern = static_cast<std::uint32_t>(negative ? 0 - value : value);
    return static_cast<std::int32_t>(pattern);
}

std::optional<std::int32_t> PauseSeconds(std::string_view atArgument) {
    return ParseCount(Trim(atArgument));
}

}  // namespace skervo
