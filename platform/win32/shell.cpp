// The notification-area icon, through the shell.
#include "platform/shell.h"

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <algorithm>

#include "platform/win32/native.h"

static_assert(skervo::platform::kNimAdd == NIM_ADD);
static_assert(skervo::platform::kNimModify == NIM_MODIFY);
static_assert(skervo::platform::kNimDelete == NIM_DELETE);
static_assert(skervo::platform::kNifTip == NIF_TIP);
#ifndef _WIN64
static_assert(NOTIFYICONDATAA_V2_SIZE == 488);
#endif

namespace skervo::platform {

bool Shell_NotifyIconA(std::uint32_t message, const NotifyIconRecord& record) {
    NOTIFYICONDATAA data{};
    // The second-version layout, in this target's own size.
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = ToNative(record.window);
    data.uID = record.id;
    data.uFlags = record.flags;
    data.uCallbackMessage = record.callbackMessage;
    data.hIcon = ToNative(record.icon);
    static_assert(sizeof data.szTip == std::tuple_size_v<decltype(record.tip)>);
    std::copy(record.tip.begin(), record.tip.end(), data.szTip);
    return ::Shell_NotifyIconA(message, &data) != FALSE;
}

}  // namespace skervo::platform
