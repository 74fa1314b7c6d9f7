#pragma once
// Finds the running processes of an executable file, through whichever
// process listing the system offers.
#include <cstdint>
#include <functional>
#include <string>

namespace skervo {

// The form in which paths compare: short form, upper case; empty when the
// path does not exist.
std::string NormalisedPath(const std::string& path);

// Calls action with the id of every running process of the target file (a
// normalised path).
void ForEachProcessOfFile(const std::string& target,
                          const std::function<void(std::uint32_t)>& action);

}  // namespace skervo
