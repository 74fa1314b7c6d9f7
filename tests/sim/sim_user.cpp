// Windows, the message queue and message boxes of the simulated desktop.
#include <stdexcept>

#include "platform/kernel.h"
#include "platform/user.h"
#include "tests/sim/desktop.h"

namespace skervo::platform {
namespace {

using sim::desktop;

sim::Window* Find(WindowHandle handle) {
    const auto found = desktop.windows.find(static_cast<std::uintptr_t>(handle));
    return found != desktop.windows.end() && found->second.alive ? &found->second : nullptr;
}

}  // namespace

bool PeekMessageA(Message& message, WindowHandle window, std::uint32_t, std::uint32_t,
                  std::uint32_t) {
    // A null window asks for the messages of every window of the program's
    // own; another program's come to that program.
    for (auto it = desktop.queue.begin(); it != desktop.queue.end(); ++it) {
        const sim::Window* target = Find(it->window);
        if ((IsNull(window) || it->window == window) && target &&
            target->processId == GetCurrentProcessId()) {
            message = *it;
            desktop.queue.erase(it);
            return true;
        }
    }
    // As on Windows, a due paint comes when nothing else is queued.
    sim::Window* found = Find(window);
    if (found && found->visible && found->invalid) {
        found->invalid = false;
        message = {window, kWmPaint};
        return true;
    }
    return false;
}

bool TranslateMessage(const Message&) {
    return false;
}

std::intptr_t DispatchMessageA(const Message& message) {
    const sim::Window* window = Find(message.window);
    if (!window) {
        return 0;
    }
    const WindowProcedure procedure = desktop.classes.at(window->className).procedure;
    return procedure(message.window, message.message, message.wParam, message.lParam);
}

bool PostMessageA(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                  std::intptr_t lParam) {
    const sim::Window* found = Find(window);
    if (!found) {
        return false;
    }
    if (message == kWmClose) {
        desktop.actions.push_back("close " + found->title);
    }
    desktop.queue.push_back({window, message, wParam, lParam});
    return true;
}

bool RegisterClassA(const WindowClass& windowClass) {
    return desktop.classes.emplace(windowClass.className, windowClass).second;
}

bool UnregisterClassA(const std::string& className, ModuleHandle) {
    return desktop.classes.erase(className) == 1;
}

WindowHandle CreateWindowExA(std::uint32_t exStyle, const std::string& className,
                             const std::string& title, std::uint32_t style, int x, int y, int width,
                             int height, WindowHandle, ModuleHandle) {
    if (desktop.windowCreationFails || !desktop.classes.contains(className)) {
        return WindowHandle{};
    }
    const std::uintptr_t handle = desktop.nextHandle++;
    sim::Window& window = desktop.windows[handle];
    window.className = className;
    window.title = title;
    window.exStyle = exStyle;
    window.style = style;
    window.place = {x, y, x + width, y + height};
    return WindowHandle{handle};
}

// The default processing that matters here: a close request destroys the
// window, and the move command lets the user drag it.
std::intptr_t DefWindowProcA(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t) {
    if (message == kWmSysCommand && wParam == kScDragMove) {
        ++desktop.windowDrags;
    }
    if (message == kWmClose) {
        if (sim::Window* found = Find(window)) {
            found->alive = false;
        }
    }
    return 0;
}

bool DestroyWindow(WindowHandle window) {
    sim::Window* found = Find(window);
    if (found) {
        found->alive = false;
    }
    return found != nullptr;
}

WindowHandle GetDesktopWindow() {
    return WindowHandle{0x10};
}

bool IsWindow(WindowHandle window) {
    return Find(window) != nullptr;
}

bool ShowWindow(WindowHandle window, int command) {
    sim::Window* found = Find(window);
    const bool wasVisible = found && found->visible;
    if (found) {
        found->visible = command != kSwHide;
    }
    return wasVisible;
}

bool ReleaseCapture() {
    ++desktop.captureReleases;
    return true;
}

bool SetWindowPos(WindowHandle window, WindowHandle insertAfter, int, int, int, int,
                  std::uint32_t flags) {
    sim::Window* found = Find(window);
    if (!found) {
        return false;
    }
    found->topmost = insertAfter == kHwndTopmost;
    found->visible = found->visible || (flags & kSwpShowWindow) != 0;
    return true;
}

bool InvalidateRect(WindowHandle window, bool) {
    if (IsNull(window)) {
        throw std::logic_error("InvalidateRect without a window repaints every window");
    }
    sim::Window* found = Find(window);
    if (found) {
        found->invalid = true;
    }
    if (found && desktop.onInvalidate) {
        desktop.onInvalidate();
    }
    return found && ++found->invalidations;
}

std::int32_t GetWindowLongA(WindowHandle window, int) {
    const sim::Window* found = Find(window);
    return found ? static_cast<std::int32_t>(found->exStyle) : 0;
}

std::int32_t SetWindowLongA(WindowHandle window, int, std::int32_t value) {
    sim::Window* found = Find(window);
    const std::int32_t old = found ? static_cast<std::int32_t>(found->exStyle) : 0;
    if (found) {
        found->exStyle = static_cast<std::uint32_t>(value);
    }
    return old;
}

bool InvokeSetLayeredWindowAttributes(ProcAddress function, WindowHandle window, std::uint32_t,
                                      std::uint8_t alpha, std::uint32_t) {
    sim::Window* found = Find(window);
    if (desktop.ProcedureName(function) != "SetLayeredWindowAttributes" || !found ||
        !(found->exStyle & kWsExLayered)) {
        return false;
    }
    found->opacity = alpha;
    return true;
}

bool SystemParametersInfoA(std::uint32_t, Rect& workArea) {
    if (desktop.workArea) {
        workArea = *desktop.workArea;
    }
    return desktop.workArea.has_value();
}

int GetSystemMetrics(int index) {
    return index == kSmCxFullScreen ? desktop.fullScreenWidth : desktop.fullScreenHeight;
}

IconHandle LoadIconA(ModuleHandle, const std::string&) {
    return IconHandle{0x1C0};
}

CursorHandle LoadCursorA(ModuleHandle, std::uintptr_t) {
    return CursorHandle{0xC0};
}

bool EnumWindows(const WindowVisitor& visit) {
    for (const auto& [handle, window] : desktop.windows) {
        if (window.alive && !visit(WindowHandle{handle})) {
            break;
        }
    }
    return true;
}

bool EnumThreadWindows(std::uint32_t threadId, const WindowVisitor& visit) {
    bool found = false;
    for (const auto& [handle, window] : desktop.windows) {
        if (window.alive && window.threadId == threadId) {
            found = true;
            if (!visit(WindowHandle{handle})) {
                break;
            }
        }
    }
    return found;
}

std::uint32_t GetWindowThreadProcessId(WindowHandle window) {
    const sim::Window* found = Find(window);
    return found ? found->processId : 0;
}

std::string GetWindowTextA(WindowHandle window, int maxCount) {
    const sim::Window* found = Find(window);
    return found ? found->title.substr(0, static_cast<std::size_t>(maxCount - 1)) : "";
}

int MessageBoxA(WindowHandle owner, const std::string& text, const std::string& caption,
                std::uint32_t style) {
    std::lock_guard lock(sim::seamMutex);
    desktop.boxes.push_back({text, caption, style, static_cast<std::uintptr_t>(owner)});
    if (desktop.onMessageBox) {
        desktop.onMessageBox(desktop.boxes.back());
    }
    return (style & kMbYesNo) != 0 ? desktop.yesNoAnswer : 1;  // IDOK
}

int MessageBoxTimeoutA(const std::string& text, const std::string& caption, std::uint32_t style,
                       std::uint32_t milliseconds) {
    const int answer = MessageBoxA(WindowHandle{}, text, caption, style);
    desktop.boxes.back().timeout = milliseconds;
    if (!desktop.nobodyThere) {
        return answer;
    }
    desktop.Advance(milliseconds);
    return kMbTimedOut;
}

}  // namespace skervo::platform
