#pragma once
// Shell services: the notification-area icon.
#include <array>
#include <cstdint>

#include "platform/types.h"

namespace skervo::platform {

inline constexpr std::uint32_t kNimAdd = 0;
inline constexpr std::uint32_t kNimModify = 1;
inline constexpr std::uint32_t kNimDelete = 2;
inline constexpr std::uint32_t kNifMessage = 1;
inline constexpr std::uint32_t kNifIcon = 2;
inline constexpr std::uint32_t kNifTip = 4;

// NOTIFYICONDATAA, as far as the program fills it; the platform side
// gives the record its own size for the target.
struct NotifyIconRecord {
    WindowHandle window{};
    std::uint32_t id = 0;
    std::uint32_t flags = 0;
    std::uint32_t callbackMessage = 0;
    IconHandle icon{};
    std::array<char, 128> tip{};  // zero-terminated
};

bool Shell_NotifyIconA(std::uint32_t message, const NotifyIconRecord& record);

}  // namespace skervo::platform
