#pragma once
// The simulated desktop: the platform seam for native tests. Tests arrange
// it, run the logic, and look at what a user would have seen.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/shell.h"
#include "platform/user.h"

namespace sim {

using skervo::platform::Message;
using skervo::platform::NotifyIconRecord;
using skervo::platform::Rect;
using skervo::platform::WindowClass;
using skervo::platform::WindowProcedure;

// Thrown by ExitProcess: the simulated process ends there.
struct ProcessExit {
    std::uint32_t code;
};

struct MessageBox {
    std::string text;
    std::string caption;
    std::uint32_t style = 0;
    std::uintptr_t owner = 0;
};

struct Window {
    std::string className;
    std::uint32_t exStyle = 0;
    std::uint32_t style = 0;
    Rect place;  // left, top, right, bottom
    bool alive = true;
    bool visible = false;
    bool topmost = false;
    std::optional<std::uint8_t> opacity;
    int invalidations = 0;
};

struct Desktop {
    std::string commandLine;
    std::string modulePath = "C:\\Outils\\skervo.exe";
    std::map<std::string, std::string> files;  // path -> bytes

    // The virtual clock: Sleep advances it at once.
    std::uint32_t tick = 1000;
    std::uint64_t elapsed = 0;
    // Actions that fire once the clock reaches their time (ms from the start).
    std::multimap<std::uint64_t, std::function<void()>> scheduled;
    std::function<void()> onSleep;       // before each sleep
    std::function<void()> onInvalidate;  // at each repaint request

    // Libraries by lower-case name, each with its exported functions.
    std::map<std::string, std::set<std::string>> libraries = {
        {"kernel32.dll", {"GetVersionExA"}}, {"user32.dll", {"SetLayeredWindowAttributes"}}};
    bool versionQuerySucceeds = true;
    std::uint32_t platformId = 2;

    std::map<std::string, WindowClass> classes;
    std::map<std::uintptr_t, Window> windows;
    bool windowCreationFails = false;
    std::deque<Message> queue;
    std::optional<Rect> workArea = Rect{0, 0, 1024, 740};
    int fullScreenWidth = 1024;
    int fullScreenHeight = 768;

    bool trayAddSucceeds = true;
    std::optional<NotifyIconRecord> trayIcon;
    int trayModifications = 0;

    std::vector<MessageBox> boxes;
    std::function<void(const MessageBox&)> onMessageBox;

    // Open kernel handles and loaded libraries, to find leaks.
    std::map<std::uintptr_t, std::pair<std::string, std::size_t>> openFiles;  // path, offset
    std::map<std::uintptr_t, std::string> loadedLibraries;
    std::map<std::uintptr_t, std::string> residentModules;
    std::vector<std::pair<std::uintptr_t, std::string>> procedures;  // library, name
    std::uintptr_t nextHandle = 0x100;

    const std::string& ProcedureName(skervo::platform::ProcAddress address) const {
        return procedures.at(static_cast<std::size_t>(address) - 1).second;
    }
    std::size_t OpenHandleCount() const { return openFiles.size() + loadedLibraries.size(); }
    Window* FindWindow(const std::string& className);
    void CloseWindowAfter(std::uint64_t milliseconds, const std::string& className);
};

extern Desktop desktop;

}  // namespace sim
