#pragma once
// Installs and removes the .skervo file type.
namespace skervo {

void RegisterFileType();
void UnregisterFileType();

}  // namespace skervo
