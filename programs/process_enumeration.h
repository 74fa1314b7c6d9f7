#pragma once
// Finds the running processes of an executable file, through whichever
// process listing the system offers.
#include <cstdint>
#include <functional>
#include <string>

namespace skervo {

// Calls action with the id of every running process of the target file (a
// normalised path: NormalisedPath of common/files.h).
void ForEachProcessOfFile(const std::string& target,
                          const std::function<void(std::uint32_t)>& action);

}  // namespace skervo
