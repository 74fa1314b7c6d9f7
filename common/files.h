#pragma once
#include <string>

namespace skervo {

// The path names something whose attributes can be read and that is not a folder.
bool FileExists(const std::string& path);

}  // namespace skervo
