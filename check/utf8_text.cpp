#include "check/utf8_text.h"

#include "platform/kernel.h"

namespace skervo {
namespace {

bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

}  // namespace

// Overlong forms, surrogates and values beyond U+10FFFF are refused, as the
// reader's own check refuses them.
CodePoint DecodeUtf8At(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        return {lead, 1};
    }
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (lead < 0xC2 || lead > 0xF4 || at + length > text.size()) {
        return {kReplacementCharacter, 1};
    }
    char32_t value = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto trail = static_cast<unsigned char>(text[at + k]);
        if ((trail & 0xC0) != 0x80) {
            return {kReplacementCharacter, 1};
        }
        value = (value << 6) | (trail & 0x3F);
    }
    const char32_t smallest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (value < smallest || value > 0x10FFFF || IsSurrogate(value)) {
        return {kReplacementCharacter, 1};
    }
    return {value, length};
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c > 0x10FFFF || IsSurrogate(c)) {
        c = kReplacementCharacter;
    }
    if (c < 0x80) {
        out += static_cast<char>(c);
        return;
    }
    const int trails = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    constexpr unsigned char kLeads[] = {0, 0xC0, 0xE0, 0xF0};
    out += static_cast<char>(kLeads[trails] | (c >> (6 * trails)));
    for (int k = trails - 1; k >= 0; --k) {
        out += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
    }
}

std::string WideToUtf8(std::wstring_view wide) {
    std::string out;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t c = static_cast<char32_t>(wide[i]);
        const bool pair = sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF &&
                          i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF;
        if (pair) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(wide[++i]) - 0xDC00);
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::wstring WideOf(char32_t c) {
    if (sizeof(wchar_t) == 2 && c >= 0x10000) {
        return {static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10)),
                static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF))};
    }
    return std::wstring(1, static_cast<wchar_t>(c));
}

std::string AnsiToUtf8(std::string_view ansi) {
    return WideToUtf8(platform::MultiByteToWideChar(platform::kCpAcp, 0, ansi).value_or(L"?"));
}

}  // namespace skervo
