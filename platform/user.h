#pragma once
// User-interface services: windows, the message queue, message boxes.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/types.h"

namespace skervo::platform {

inline constexpr std::uint32_t kWmClose = 0x0010;
inline constexpr std::uint32_t kWmQueryEndSession = 0x0011;
inline constexpr std::uint32_t kWmEndSession = 0x0016;
inline constexpr std::uint32_t kWmPaint = 0x000F;
inline constexpr std::uint32_t kWmLButtonDown = 0x0201;
inline constexpr std::uint32_t kWmSysCommand = 0x0112;
// SC_MOVE (0xF010) with the caption hit code (2): a drag as by a title bar.
inline constexpr std::uintptr_t kScDragMove = 0xF012;
inline constexpr std::uint32_t kPmRemove = 1;
inline constexpr int kSwHide = 0;
inline constexpr int kSwShow = 5;
inline constexpr std::uint32_t kMbIconError = 0x10;
inline constexpr std::uint32_t kMbIconInformation = 0x40;
inline constexpr std::uint32_t kMbTaskModal = 0x2000;
inline constexpr std::uint32_t kMbYesNo = 0x4;
inline constexpr std::uint32_t kMbIconWarning = 0x30;
inline constexpr std::uint32_t kMbDefButton2 = 0x100;
inline constexpr int kIdYes = 6;
inline constexpr std::uint32_t kWsPopup = 0x80000000;
inline constexpr std::uint32_t kWsExToolWindow = 0x00000080;
inline constexpr std::uint32_t kWsExLayered = 0x00080000;
inline constexpr int kGwlExStyle = -20;
inline constexpr std::uint32_t kLwaAlpha = 2;
inline constexpr std::uint32_t kSpiGetWorkArea = 48;
inline constexpr int kSmCxFullScreen = 16;
inline constexpr int kSmCyFullScreen = 17;
inline constexpr std::uint32_t kSwpNoSize = 0x1;
inline constexpr std::uint32_t kSwpNoMove = 0x2;
inline constexpr std::uint32_t kSwpShowWindow = 0x40;
inline constexpr WindowHandle kHwndTopmost{~std::uintptr_t{0}};  // (HWND)-1
inline constexpr std::uintptr_t kIdcArrow = 32512;

struct Message {
    WindowHandle window{};
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    std::uint32_t time = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
};

using WindowProcedure = std::intptr_t (*)(WindowHandle, std::uint32_t, std::uintptr_t,
                                          std::intptr_t);

struct WindowClass {
    std::uint32_t style = 0;
    WindowProcedure procedure = nullptr;
    ModuleHandle instance{};
    IconHandle icon{};
    CursorHandle cursor{};
    std::string className;
};

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool operator==(const Rect&) const = default;
};

bool PeekMessageA(Message& message, WindowHandle window, std::uint32_t filterMin,
                  std::uint32_t filterMax, std::uint32_t removeFlags);
bool TranslateMessage(const Message& message);
std::intptr_t DispatchMessageA(const Message& message);
bool PostMessageA(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                  std::intptr_t lParam);

bool RegisterClassA(const WindowClass& windowClass);
bool UnregisterClassA(const std::string& className, ModuleHandle instance);
WindowHandle CreateWindowExA(std::uint32_t exStyle, const std::string& className,
                             const std::string& title, std::uint32_t style, int x, int y, int width,
                             int height, WindowHandle parent, ModuleHandle instance);
std::intptr_t DefWindowProcA(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam);
bool DestroyWindow(WindowHandle window);
WindowHandle GetDesktopWindow();
bool IsWindow(WindowHandle window);
bool ShowWindow(WindowHandle window, int command);
bool ReleaseCapture();
bool SetWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int width,
                  int height, std::uint32_t flags);
// Marks the whole client area for repainting (no rectangle).
bool InvalidateRect(WindowHandle window, bool erase);
std::int32_t GetWindowLongA(WindowHandle window, int index);
std::int32_t SetWindowLongA(WindowHandle window, int index, std::int32_t value);
// Calls a SetLayeredWindowAttributes found with GetProcAddress.
bool InvokeSetLayeredWindowAttributes(ProcAddress function, WindowHandle window,
                                      std::uint32_t colorKey, std::uint8_t alpha,
                                      std::uint32_t flags);

// SPI_GETWORKAREA, the only query the program makes.
bool SystemParametersInfoA(std::uint32_t action, Rect& workArea);
int GetSystemMetrics(int index);

IconHandle LoadIconA(ModuleHandle instance, const std::string& name);
CursorHandle LoadCursorA(ModuleHandle instance, std::uintptr_t resourceId);

// Calls back for every top-level window, visible or not, while it answers true.
using WindowVisitor = std::function<bool(WindowHandle)>;
bool EnumWindows(const WindowVisitor& visit);
// Every non-child window of a thread.
bool EnumThreadWindows(std::uint32_t threadId, const WindowVisitor& visit);
std::uint32_t GetWindowThreadProcessId(WindowHandle window);
// At most maxCount - 1 characters of the window's title.
std::string GetWindowTextA(WindowHandle window, int maxCount);

// Waits until a process started by the program waits for input; a user
// service, though it takes a process.
std::uint32_t WaitForInputIdle(KernelHandle process, std::uint32_t milliseconds);

int MessageBoxA(WindowHandle owner, const std::string& text, const std::string& caption,
                std::uint32_t style);
// What a box closed by its time limit answers.
inline constexpr int kMbTimedOut = 32000;
// A box without owner that closes by itself after the time given, answering
// kMbTimedOut, on every system (the system's own MessageBoxTimeoutA came with
// XP, and Wine's waits for ever).
int MessageBoxTimeoutA(const std::string& text, const std::string& caption, std::uint32_t style,
                       std::uint32_t milliseconds);

}  // namespace skervo::platform
