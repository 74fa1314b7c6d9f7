#pragma once
// Text rules shared by the whole program.
#include <string>
#include <string_view>

namespace skervo {

// Removes every character with a code up to 32 at both ends.
std::string_view Trim(std::string_view text);
// Maps the ASCII letters a-z only.
std::string UpperCase(std::string_view text);
// The text after the last backslash or colon (all of it without either).
std::string_view FileNameOf(std::string_view path);
// The text up to and including the last backslash or colon (empty without either).
std::string_view FolderOf(std::string_view path);

}  // namespace skervo
