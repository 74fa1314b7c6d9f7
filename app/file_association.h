#pragma once
// Installs and removes the .skervo file type, so that a double-click on a
// script runs it.
#include <string>

namespace skervo {

// Writes the four keys of the association, and the file type's EditFlags,
// and tells the user the outcome.
void RegisterFileType();
// Deletes the six keys of the association and tells the user the outcome.
void UnregisterFileType();

// Creates or opens a key under HKEY_CLASSES_ROOT and sets its default
// value; true when both succeeded.
bool WriteClassesValue(const std::string& keyPath, const std::string& data);

}  // namespace skervo
