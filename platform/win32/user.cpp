// Windows, the message queue and message boxes, forwarded to the real functions.
#include "platform/user.h"

#include <windows.h>

#include "platform/win32/native.h"

namespace p = skervo::platform;
static_assert(p::kWmClose == WM_CLOSE && p::kWmPaint == WM_PAINT && p::kPmRemove == PM_REMOVE);
static_assert(p::kSwHide == SW_HIDE && p::kSwShow == SW_SHOW);
static_assert(p::kMbIconError == MB_ICONERROR && p::kMbIconInformation == MB_ICONINFORMATION);
static_assert(p::kMbTaskModal == MB_TASKMODAL);
static_assert(p::kMbYesNo == MB_YESNO && p::kMbIconWarning == MB_ICONWARNING);
static_assert(p::kMbDefButton2 == MB_DEFBUTTON2 && p::kIdYes == IDYES);
static_assert(p::kWsPopup == WS_POPUP && p::kWsExToolWindow == WS_EX_TOOLWINDOW);
static_assert(p::kWsExLayered == WS_EX_LAYERED && p::kGwlExStyle == GWL_EXSTYLE);
static_assert(p::kLwaAlpha == LWA_ALPHA && p::kSpiGetWorkArea == SPI_GETWORKAREA);
static_assert(p::kSmCxFullScreen == SM_CXFULLSCREEN && p::kSmCyFullScreen == SM_CYFULLSCREEN);
static_assert(p::kSwpNoSize == SWP_NOSIZE && p::kSwpNoMove == SWP_NOMOVE);
static_assert(p::kSwpShowWindow == SWP_SHOWWINDOW);
static_assert(p::kWmLButtonDown == WM_LBUTTONDOWN && p::kWmSysCommand == WM_SYSCOMMAND);
static_assert(p::kScDragMove == (SC_MOVE | HTCAPTION));

static_assert(skervo::platform::kWmQueryEndSession == WM_QUERYENDSESSION);
static_assert(skervo::platform::kWmEndSession == WM_ENDSESSION);

namespace skervo::platform {
namespace {

// The program registers a single window class; its portable procedure.
WindowProcedure registeredProcedure = nullptr;

LRESULT CALLBACK ForwardToProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return registeredProcedure(FromNative<WindowHandle>(window), message, wParam, lParam);
}

MSG ToNative(const Message& message) {
    MSG native{};
    native.hwnd = ToNative(message.window);
    native.message = message.message;
    native.wParam = message.wParam;
    native.lParam = message.lParam;
    native.time = message.time;
    native.pt = {message.x, message.y};
    return native;
}

}  // namespace

bool PeekMessageA(Message& message, WindowHandle window, std::uint32_t filterMin,
                  std::uint32_t filterMax, std::uint32_t removeFlags) {
    MSG native{};
    if (!::PeekMessageA(&native, ToNative(window), filterMin, filterMax, removeFlags)) {
        return false;
    }
    message = {
        FromNative<WindowHandle>(native.hwnd),   native.message, native.wParam, native.lParam,
        static_cast<std::uint32_t>(native.time), native.pt.x,    native.pt.y};
    return true;
}

bool TranslateMessage(const Message& message) {
    const MSG native = ToNative(message);
    return ::TranslateMessage(&native) != FALSE;
}

std::intptr_t DispatchMessageA(const Message& message) {
    const MSG native = ToNative(message);
    return ::DispatchMessageA(&native);
}

bool PostMessageA(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                  std::intptr_t lParam) {
    return ::PostMessageA(ToNative(window), message, wParam, lParam) != FALSE;
}

bool RegisterClassA(const WindowClass& windowClass) {
    registeredProcedure = windowClass.procedure;
    WNDCLASSA native{};
    native.style = windowClass.style;
    native.lpfnWndProc = ForwardToProcedure;
    native.hInstance = ToNative(windowClass.instance);
    native.hIcon = ToNative(windowClass.icon);
    native.hCursor = ToNative(windowClass.cursor);
    native.lpszClassName = windowClass.className.c_str();
    return ::RegisterClassA(&native) != 0;
}

bool UnregisterClassA(const std::string& className, ModuleHandle instance) {
    return ::UnregisterClassA(className.c_str(), ToNative(instance)) != FALSE;
}

WindowHandle CreateWindowExA(std::uint32_t exStyle, const std::string& className,
                             const std::string& title, std::uint32_t style, int x, int y, int width,
                             int height, WindowHandle parent, ModuleHandle instance) {
    return FromNative<WindowHandle>(::CreateWindowExA(exStyle, className.c_str(), title.c_str(),
                                                      style, x, y, width, height, ToNative(parent),
                                                      nullptr, ToNative(instance), nullptr));
}

std::intptr_t DefWindowProcA(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) {
    return ::DefWindowProcA(ToNative(window), message, wParam, lParam);
}

bool DestroyWindow(WindowHandle window) {
    return ::DestroyWindow(ToNative(window)) != FALSE;
}

WindowHandle GetDesktopWindow() {
    return FromNative<WindowHandle>(::GetDesktopWindow());
}

bool IsWindow(WindowHandle window) {
    return ::IsWindow(ToNative(window)) != FALSE;
}

bool ShowWindow(WindowHandle window, int command) {
    return ::ShowWindow(ToNative(window), command) != FALSE;
}

bool ReleaseCapture() {
    return ::ReleaseCapture() != FALSE;
}

bool SetWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int width,
                  int height, std::uint32_t flags) {
    return ::SetWindowPos(ToNative(window), ToNative(insertAfter), x, y, width, height, flags) !=
           FALSE;
}

bool InvalidateRect(WindowHandle window, bool erase) {
    return ::InvalidateRect(ToNative(window), nullptr, erase) != FALSE;
}

std::int32_t GetWindowLongA(WindowHandle window, int index) {
    return ::GetWindowLongA(ToNative(window), index);
}

std::int32_t SetWindowLongA(WindowHandle window, int index, std::int32_t value) {
    return ::SetWindowLongA(ToNative(window), index, value);
}

bool InvokeSetLayeredWindowAttributes(ProcAddress function, WindowHandle window,
                                      std::uint32_t colorKey, std::uint8_t alpha,
                                      std::uint32_t flags) {
    using SetLayeredFunction = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    const auto setLayered = As<SetLayeredFunction>(function);
    return setLayered(ToNative(window), colorKey, alpha, flags) != FALSE;
}

bool SystemParametersInfoA(std::uint32_t action, Rect& workArea) {
    RECT native{};
    if (!::SystemParametersInfoA(action, 0, &native, 0)) {
        return false;
    }
    workArea = {native.left, native.top, native.right, native.bottom};
    return true;
}

int GetSystemMetrics(int index) {
    return ::GetSystemMetrics(index);
}

IconHandle LoadIconA(ModuleHandle instance, const std::string& name) {
    return FromNative<IconHandle>(::LoadIconA(ToNative(instance), name.c_str()));
}

CursorHandle LoadCursorA(ModuleHandle instance, std::uintptr_t resourceId) {
    return FromNative<CursorHandle>(
        ::LoadCursorA(ToNative(instance), MAKEINTRESOURCEA(resourceId)));
}

namespace {

BOOL CALLBACK VisitWindow(HWND window, LPARAM visitor) {
    return (*reinterpret_cast<const WindowVisitor*>(visitor))(FromNative<WindowHandle>(window));
}

}  // namespace

bool EnumWindows(const WindowVisitor& visit) {
    return ::EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&visit)) != FALSE;
}

bool EnumThreadWindows(std::uint32_t threadId, const WindowVisitor& visit) {
    return ::EnumThreadWindows(threadId, VisitWindow, reinterpret_cast<LPARAM>(&visit)) != FALSE;
}

std::uint32_t GetWindowThreadProcessId(WindowHandle window) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(ToNative(window), &processId);
    return processId;
}

std::string GetWindowTextA(WindowHandle window, int maxCount) {
    std::string title(static_cast<std::size_t>(maxCount), '\0');
    title.resize(
        static_cast<std::size_t>(::GetWindowTextA(ToNative(window), title.data(), maxCount)));
    return title;
}

std::uint32_t WaitForInputIdle(KernelHandle process, std::uint32_t milliseconds) {
    return ::WaitForInputIdle(ToNative(process), milliseconds);
}

int MessageBoxA(WindowHandle owner, const std::string& text, const std::string& caption,
                std::uint32_t style) {
    return ::MessageBoxA(ToNative(owner), text.c_str(), caption.c_str(), style);
}

namespace {

// A message box is the dialog of its thread: it ends with the answer given.
BOOL CALLBACK EndIfBox(HWND window, LPARAM) {
    char className[8] = {};
    if (::GetClassNameA(window, className, sizeof className) != 0 &&
        ::lstrcmpA(className, "#32770") == 0) {
        ::EndDialog(window, kMbTimedOut);
    }
    return TRUE;
}

// A thread's timer comes through the box's own message loop, on the thread
// that shows it.
VOID CALLBACK EndBoxesOfThisThread(HWND, UINT, UINT_PTR, DWORD) {
    ::EnumThreadWindows(::GetCurrentThreadId(), EndIfBox, 0);
}

}  // namespace

int MessageBoxTimeoutA(const std::string& text, const std::string& caption, std::uint32_t style,
                       std::uint32_t milliseconds) {
    const UINT_PTR timer = ::SetTimer(nullptr, 0, milliseconds, EndBoxesOfThisThread);
    const int answer = ::MessageBoxA(nullptr, text.c_str(), caption.c_str(), style);
    if (timer != 0) {
        ::KillTimer(nullptr, timer);
    }
    return answer;
}

}  // namespace skervo::platform
