#pragma once
// Text rules shared by the whole program.
#include <string>
#include <string_view>

namespace skervo {

// Removes every character with a code up to 32 at both ends.
std::string_view Trim(std::string_view text);
// Maps the ASCII letters a-z only, never the second byte of a double-byte
// character of the ANSI code page.
std::string UpperCase(std::string_view text);
// The text after the last backslash or colon (all of it without either).
// Paths are walked by the characters of the ANSI code page: the second byte
// of a double-byte character is no separator.
std::string_view FileNameOf(std::string_view path);
// The text up to and including the last backslash or colon (empty without
// either), found as FileNameOf finds it.
std::string_view FolderOf(std::string_view path);
// A path ending in an extension the system starts as a program: .exe,
// .com, .bat or .cmd, trailing dots and blanks aside, as the file system
// drops them.
bool IsProgramPath(std::string_view path);
// The text inside its quotes when it is one quoted name ("C:\a b.pdf"),
// else the text as it is.
std::string_view Unquoted(std::string_view text);
// A path holding a colon after its drive's: a stream of a file
// (rapport.pdf::$DATA is the file's own data), never a file of its own.
bool NamesStream(std::string_view path);
// Bytes below 0x20, but those kept, 0x7F, and those the ANSI code page reads
// as controls of the 0x80 to 0x9F block, as \xHH: text from a script or a
// stream can then neither begin a line of its own (a form feed, for a reader
// that splits there) nor move a terminal's cursor in what a person or a
// monitor reads.
std::string WithControlsShown(std::string_view text, std::string_view kept = "\t");
// A path that no current folder completes: a drive and a backslash, or
// \\serveur\partage.
bool IsFullPath(std::string_view path);

}  // namespace skervo
