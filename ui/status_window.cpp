#include "ui/status_window.h"

#include <algorithm>
#include <mutex>

#include "common/run_state.h"
#include "platform/gdi.h"
#include "platform/kernel.h"
#include "platform/shell.h"
#include "platform/user.h"
#include "ui/session_end.h"
#include "ui/status_layout.h"
#include "ui/status_paint.h"
#include "ui/texts.h"

namespace skervo {
namespace {

platform::ModuleHandle ProgramInstance() {
    return platform::GetModuleHandleA("");
}

void RegisterStatusWindowClass(platform::IconHandle icon) {
    platform::WindowClass windowClass;
    windowClass.procedure = StatusWindowProc;
    windowClass.instance = ProgramInstance();
    windowClass.cursor = platform::LoadCursorA(platform::ModuleHandle{}, platform::kIdcArrow);
    windowClass.icon = icon;
    windowClass.className = kStatusWindowClass;
    platform::RegisterClassA(windowClass);
}

void LoadPictures() {
    runState.BackgroundBitmap.Reset(platform::LoadBitmapA(ProgramInstance(), "FOND"));
    platform::GetObjectA(runState.BackgroundBitmap.Get(), runState.BackgroundSize);
    runState.ConnectionBitmap.Reset(platform::LoadBitmapA(ProgramInstance(), "CNX"));
}

// The one font of every text in the window.
platform::FontHandle CreateTextFont() {
    platform::FontDescription font;
    font.height = 12;
    font.weight = 400;
    font.charSet = 0;          // ANSI_CHARSET
    font.pitchAndFamily = 16;  // FF_ROMAN, default pitch
    font.face = "Tahoma";
    return platform::CreateFontA(font);
}

// The bottom-right corner of the work area, or of the full screen when
// the work area cannot be read.
platform::Rect WorkArea() {
    platform::Rect area;
    if (!platform::SystemParametersInfoA(platform::kSpiGetWorkArea, area)) {
        area.right = platform::GetSystemMetrics(platform::kSmCxFullScreen);
        area.bottom = platform::GetSystemMetrics(platform::kSmCyFullScreen);
    }
    return area;
}

void MakeTranslucent(platform::WindowHandle window) {
    const platform::ModuleHandle user32 = platform::GetModuleHandleA("User32.dll");
    const platform::ProcAddress setLayered =
        platform::GetProcAddress(user32, "SetLayeredWindowAttributes");
    if (platform::IsNull(setLayered)) {
        return;  // no layered windows on this system: the window stays opaque
    }
    const std::int32_t exStyle = platform::GetWindowLongA(window, platform::kGwlExStyle);
    if ((exStyle & platform::kWsExLayered) == 0) {
        platform::SetWindowLongA(window, platform::kGwlExStyle,
                                 static_cast<std::int32_t>(exStyle | platform::kWsExLayered));
    }
    platform::InvokeSetLayeredWindowAttributes(setLayered, window, 0, kStatusWindowOpacity,
                                               platform::kLwaAlpha);
}

void AddTrayIcon(platform::IconHandle icon) {
    const std::lock_guard lock(runState.TrayIconLock);
    platform::NotifyIconRecord& record = runState.TrayIconData;
    record = {};
    record.window = runState.StatusWindowHandle;
    record.flags = platform::kNifMessage | platform::kNifIcon | platform::kNifTip;
    record.callbackMessage = kTrayNotifyMessage;
    record.icon = icon;
    std::copy(texts::kInitialTrayTip.begin(), texts::kInitialTrayTip.end(), record.tip.begin());
    runState.TrayIconPresent = platform::Shell_NotifyIconA(platform::kNimAdd, record);
}

// The close cross stops the run (at the next poll, which finds the window
// gone); the hide button needs the icon as the way back; anywhere else the
// window is dragged as by a title bar.
void HandleClick(platform::WindowHandle window, std::intptr_t lParam) {
    const auto x = static_cast<std::uint16_t>(lParam & 0xFFFF);
    const auto y = static_cast<std::uint16_t>((lParam >> 16) & 0xFFFF);
    switch (layout::ClassifyClick(x, y)) {
        case layout::ClickTarget::CloseCross:
            platform::DestroyWindow(window);
            break;
        case layout::ClickTarget::HideButton:
            if (runState.TrayIconPresent) {
                platform::ShowWindow(window, platform::kSwHide);
            }
            break;
        case layout::ClickTarget::Elsewhere:
            platform::ReleaseCapture();
            platform::PostMessageA(window, platform::kWmSysCommand, platform::kScDragMove, 0);
            break;
    }
}

}  // namespace

void CreateStatusWindow() {
    const platform::IconHandle icon = platform::LoadIconA(ProgramInstance(), "MAINICON");
    RegisterStatusWindowClass(icon);
    LoadPictures();
    runState.PreviousStepText.clear();
    runState.StepText.clear();
    runState.TextFont.Reset(CreateTextFont());

    // The window is exactly its background picture.
    const int width = runState.BackgroundSize.width;
    const int height = runState.BackgroundSize.height;
    const platform::Rect area = WorkArea();
    runState.StatusWindowHandle =
        platform::CreateWindowExA(platform::kWsExToolWindow, kStatusWindowClass, kStatusWindowClass,
                                  platform::kWsPopup, area.right - width, area.bottom - height,
                                  width, height, platform::GetDesktopWindow(), ProgramInstance());
    MakeTranslucent(runState.StatusWindowHandle);
    AddTrayIcon(icon);
    platform::SetWindowPos(runState.StatusWindowHandle, platform::kHwndTopmost, 0, 0, 0, 0,
                           platform::kSwpNoSize | platform::kSwpNoMove | platform::kSwpShowWindow);
}

// Everything goes to the default processing first; a close request that
// reaches the window thus destroys it, which stops the run like the close cross.
// The default processing has validated the window before the paint, so the
// paint draws through a context of its own rather than a paint cycle.
std::intptr_t StatusWindowProc(platform::WindowHandle window, std::uint32_t message,
                               std::uintptr_t wParam, std::intptr_t lParam) {
    if (const std::optional<std::intptr_t> answer = AnswerSessionEnd(message, wParam)) {
        return *answer;
    }
    const std::intptr_t result = platform::DefWindowProcA(window, message, wParam, lParam);
    if (message == platform::kWmPaint) {
        PaintStatusWindow(window);
    } else if (message == platform::kWmLButtonDown) {
        HandleClick(window, lParam);
    } else if (message == kTrayNotifyMessage && lParam == platform::kWmLButtonDown) {
        platform::ShowWindow(window, platform::kSwShow);  // the way back for a hidden window
    }
    return result;
}

void RemoveTrayIcon() {
    const std::lock_guard lock(runState.TrayIconLock);
    if (runState.TrayIconPresent) {
        platform::Shell_NotifyIconA(platform::kNimDelete, runState.TrayIconData);
        runState.TrayIconPresent = false;
    }
}

void TearDownStatusWindow() {
    RemoveTrayIcon();
    runState.BackgroundBitmap.Reset();
    runState.ConnectionBitmap.Reset();
    runState.TextFont.Reset();
    platform::UnregisterClassA(kStatusWindowClass, ProgramInstance());
}

}  // namespace skervo
