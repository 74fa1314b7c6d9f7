#pragma once
// The small tracking window in the bottom-right corner of the work area,
// and the notification-area icon that comes with it.
#include <cstdint>

#include "platform/types.h"

namespace skervo {

inline constexpr char kStatusWindowClass[] = "Numrak";
inline constexpr std::uint32_t kTrayNotifyMessage = 4094;
inline constexpr std::uint8_t kStatusWindowOpacity = 210;

void CreateStatusWindow();

std::intptr_t StatusWindowProc(platform::WindowHandle window, std::uint32_t message,
                               std::uintptr_t wParam, std::intptr_t lParam);

// Releases what CreateStatusWindow made; the window itself ends with the process.
void TearDownStatusWindow();

// On Windows an icon left behind by a process that ended stays in the
// notification area until the mouse passes over it.
void RemoveTrayIcon();

}  // namespace skervo
