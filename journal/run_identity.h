#pragma once
// Which computer a run was on, and under which account, as the journal's
// header says them.
#include <string>

namespace skervo {

// The short name, and the full DNS name beside it where the system says it
// (Windows 2000 and later): PC-042 (pc-042.ecole.local).
std::string ComputerNames();
// DOMAINE\nom where the system says it (Windows 2000 and later), else the
// logon name alone.
std::string AccountName();

}  // namespace skervo
