#pragma once
// Closes or kills applications named by executable path or window-title fragment.
#include <string_view>

namespace skervo {

void CloseApplication(std::string_view name);

}  // namespace skervo
