#pragma once
#include <string>
#include <string_view>

namespace skervo {

// The path names something whose attributes can be read and that is not a folder.
bool FileExists(const std::string& path);

// The path names an existing folder, or an existing file that is no program
// (its extension is none of .exe, .com, .bat, .cmd, and it has one).
bool NamesDocumentOrFolder(const std::string& path);

// The text in double quotes when, unquoted, it is the path of an existing
// file: a path with blanks and no arguments needs no quotes in a script.
std::string QuotedWhenFile(std::string_view text);

}  // namespace skervo
