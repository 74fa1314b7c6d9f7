#pragma once
// The application a closing line names: an .exe path or a window-title fragment.
#include <string_view>

namespace skervo {

// A name ending in a quote loses its first and last characters, then its
// blanks; "" and " " thus become empty.
std::string_view ClosingName(std::string_view name);

}  // namespace skervo
