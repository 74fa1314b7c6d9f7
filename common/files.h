#pragma once
#include <string>
#include <string_view>

namespace skervo {

// The path names something whose attributes can be read and that is not a folder.
bool FileExists(const std::string& path);

// The path names an existing folder, or an existing file that is no program
// (its extension, if it has one, is none of .exe, .com, .bat, .cmd). A
// stream of a file is neither.
bool NamesDocumentOrFolder(const std::string& path);

// The form in which paths compare: short form, upper case; empty when the
// path does not exist.
std::string NormalisedPath(const std::string& path);

}  // namespace skervo
