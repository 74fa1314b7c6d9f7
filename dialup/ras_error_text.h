#pragma once
// The platform's text for a remote-access error code.
#include <cstdint>
#include <optional>
#include <string>

namespace skervo {

// Empty when the platform has no text for the code.
std::optional<std::string> RasErrorText(std::uint32_t error);

}  // namespace skervo
