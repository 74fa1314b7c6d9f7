#include "common/ansi_text.h"

#include "platform/kernel.h"

namespace skervo {

bool AnsiIsUtf8() {
    return platform::GetACP() == platform::kCpUtf8;
}

std::optional<std::string> Utf8ToAnsi(std::string_view utf8) {
    std::optional<std::wstring> wide =
        platform::MultiByteToWideChar(platform::kCpUtf8, platform::kMbErrInvalidChars, utf8);
    if (!wide) {
        wide = platform::MultiByteToWideChar(platform::kCpUtf8, 0, utf8);
    }
    return wide ? WideToAnsi(*wide) : std::nullopt;
}

std::optional<std::string> WideToAnsi(std::wstring_view wide) {
    std::optional<std::string> ansi =
        platform::WideCharToMultiByte(platform::kCpAcp, platform::kWcNoBestFitChars, wide);
    return ansi ? ansi : platform::WideCharToMultiByte(platform::kCpAcp, 0, wide);
}

// A round trip finds every change: a default character, a look-alike where
// the system knows no WC_NO_BEST_FIT_CHARS, a lone surrogate made U+FFFD.
bool IsExactInAnsi(std::wstring_view wide) {
    const std::optional<std::string> ansi = WideToAnsi(wide);
    return ansi && platform::MultiByteToWideChar(platform::kCpAcp, 0, *ansi) == wide;
}

}  // namespace skervo
