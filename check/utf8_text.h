#pragma once
// UTF-8, character by character: what the language server needs to read an
// editor's text and to count its positions, without the system's UTF-8
// (the first Windows 95 has none).
#include <cstddef>
#include <string>
#include <string_view>

namespace skervo {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

struct CodePoint {
    char32_t value = 0;
    std::size_t length = 1;  // in bytes
};

// The character at text[at] (at < text.size()); U+FFFD, one byte long, for a
// byte that begins no well-formed sequence.
CodePoint DecodeUtf8At(std::string_view text, std::size_t at);
void AppendUtf8(std::string& out, char32_t c);
// wchar_t is UTF-16 on Windows and UTF-32 elsewhere; a lone surrogate becomes U+FFFD.
std::string WideToUtf8(std::wstring_view wide);
// One character as the system's wide text holds it.
std::wstring WideOf(char32_t c);
// Text of the ANSI code page, as the checker's messages are, in UTF-8.
std::string AnsiToUtf8(std::string_view ansi);

}  // namespace skervo
