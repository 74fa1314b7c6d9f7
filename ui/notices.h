#pragma once
// What the program tells the user outside the status window: the
// notification icon's tip and the message boxes.
#include <cstdint>
#include <string_view>

namespace skervo {

void SetTrayTip(std::string_view text);
// Every box of a run comes through here: written to the journal, and shown
// unless a silent run has a journal to take it instead (then, as if OK had
// been pressed).
void PresentBox(std::string_view text, std::string_view caption, std::uint32_t style);
void ShowNotice(std::string_view text);
// A question with « Non » as its default; true when the user answered « Oui ».
// Never put to a silent run, which has nobody to answer it.
bool AskYesNo(std::string_view text);
// Shows "Erreur : " followed by text.
void ShowError(std::string_view text);

}  // namespace skervo
