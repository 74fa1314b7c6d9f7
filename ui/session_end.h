#pragma once
// The end of the Windows session while a script runs. At logoff or shutdown
// the system asks every top-level window whether the session may end
// (WM_QUERYENDSESSION), then says that it ends (WM_ENDSESSION): the run ends
// there, and its journal closes with « interrompue ».
#include <cstdint>
#include <optional>

#include "platform/types.h"

namespace skervo {

inline constexpr char kSessionWindowClass[] = "Skervo";

// A silent run has no window of its own to receive those messages: a hidden
// one does.
void CreateSessionWindow();

// The answer to either message, sent to any of the program's windows;
// nullopt for any other message.
std::optional<std::intptr_t> AnswerSessionEnd(std::uint32_t message, std::uintptr_t wParam);

}  // namespace skervo
