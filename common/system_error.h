#pragma once
#include <cstdint>
#include <string>

namespace skervo {

// The system's text for an error code, on one line, followed by the code.
std::string SystemErrorText(std::uint32_t code);

}  // namespace skervo
