#pragma once
// The system's own libraries and programs, and nothing planted in their
// place: a rasapi32.dll dropped beside the program, or a rasphone.exe beside
// a script, is never loaded or started.
#include <string>
#include <string_view>

namespace skervo {

// Tells the system to look for libraries in its own folder only, and for
// programs in the current directory last; by name, where the oldest systems
// lack the functions. First thing in both programs.
void RestrictSearchPaths();

// The full path of a file of the system folder.
std::string SystemFilePath(std::string_view fileName);
// The program in the system folder, else in the Windows folder (where the 95
// family keeps rundll32.exe); empty when neither holds it.
std::string FindSystemProgram(std::string_view fileName);

}  // namespace skervo
