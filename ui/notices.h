#pragma once
// What the program tells the user outside the status window: the
// notification icon's tip and the message boxes.
#include <string_view>

namespace skervo {

void SetTrayTip(std::string_view text);
void ShowNotice(std::string_view text);
// Shows "Erreur : " followed by text.
void ShowError(std::string_view text);

}  // namespace skervo
