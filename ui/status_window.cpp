#include "ui/status_window.h"

#include <algorithm>

#include "common/run_state.h"
#include "platform/kernel.h"
#include "platform/shell.h"
#include "platform/user.h"
#include "ui/texts.h"

namespace skervo {
namespace {

// The size of the background picture, which the window takes as its own.
// Until the pictures are drawn the window keeps this size, unpainted.
constexpr int kWindowWidth = 200;
constexpr int kWindowHeight = 100;

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
    platform::NotifyIconRecord& record = runState.TrayIconData;
    record = {};
    record.window = runState.StatusWindowHandle;
    record.flags = platform::kNifMessage | platform::kNifIcon | platform::kNifTip;
    record.callbackMessage = kTrayNotifyMessage;
    record.icon = icon;
    std::copy(texts::kInitialTrayTip.begin(), texts::kInitialTrayTip.end(), record.tip.begin());
    runState.TrayIconPresent = platform::Shell_NotifyIconA(platform::kNimAdd, record);
}

}  // namespace

void CreateStatusWindow() {
    const platform::IconHandle icon = platform::LoadIconA(ProgramInstance(), "MAINICON");
    RegisterStatusWindowClass(icon);
    runState.PreviousStepText.clear();
    runState.StepText.clear();

    const platform::Rect area = WorkArea();
    runState.StatusWindowHandle = platform::CreateWindowExA(
        platform::kWsExToolWindow, kStatusWindowClass, kStatusWindowClass, platform::kWsPopup,
        area.right - kWindowWidth, area.bottom - kWindowHeight, kWindowWidth, kWindowHeight,
        platform::GetDesktopWindow(), ProgramInstance());
    MakeTranslucent(runState.StatusWindowHandle);
    AddTrayIcon(icon);
    platform::SetWindowPos(runState.StatusWindowHandle, platform::kHwndTopmost, 0, 0, 0, 0,
                           platform::kSwpNoSize | platform::kSwpNoMove | platform::kSwpShowWindow);
}

// Everything goes to the default processing first; a close request that
// reaches the window thus destroys it, which stops the run like the close cross.
// The paint and the clicks are not handled yet: the window stays unpainted.
std::intptr_t StatusWindowProc(platform::WindowHandle window, std::uint32_t message,
                               std::uintptr_t wParam, std::intptr_t lParam) {
    return platform::DefWindowProcA(window, message, wParam, lParam);
}

void TearDownStatusWindow() {
    if (runState.TrayIconPresent) {
        platform::Shell_NotifyIconA(platform::kNimDelete, runState.TrayIconData);
    }
    platform::UnregisterClassA(kStatusWindowClass, ProgramInstance());
}

}  // namespace skervo
