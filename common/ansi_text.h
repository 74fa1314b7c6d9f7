#pragma once
// Text between UTF-8 or UTF-16 and the ANSI code page, asked of the system
// first with the flags that keep it exact, then without those it refuses:
// the 95 family and NT4 take no flag with UTF-8 and know no
// WC_NO_BEST_FIT_CHARS, which came with Windows 2000, and an ANSI code page
// that is UTF-8 refuses that flag too.
#include <optional>
#include <string>
#include <string_view>

namespace skervo {

// The ANSI code page is UTF-8: UTF-8 text is already in it.
bool AnsiIsUtf8();
// Well-formed UTF-8 text in the ANSI code page, a character it lacks as its
// default character; nullopt when the system cannot convert it (the first
// Windows 95 has no UTF-8).
std::optional<std::string> Utf8ToAnsi(std::string_view utf8);
// UTF-16 text in the ANSI code page, as Utf8ToAnsi.
std::optional<std::string> WideToAnsi(std::wstring_view wide);
// Whether the text reaches the ANSI code page and comes back unchanged.
bool IsExactInAnsi(std::wstring_view wide);

}  // namespace skervo
