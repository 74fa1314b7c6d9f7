#pragma once
// The simulated desktop: the platform seam for native tests. Tests arrange
// it, run the logic, and look at what a user would have seen.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "platform/kernel.h"
#include "platform/process_listing.h"
#include "platform/security.h"
#include "platform/shell.h"
#include "platform/user.h"
#include "tests/sim/dialup.h"
#include "tests/sim/registry.h"
#include "tests/sim/service_manager.h"
#include "tests/sim/shell_namespace.h"

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

// An event the program wrote to the Application log.
struct Event {
    std::string source;
    std::uint16_t type = 0;
    std::uint32_t id = 0;
    std::vector<std::string> strings;
    bool operator==(const Event&) const = default;
};

struct MessageBox {
    std::string text;
    std::string caption;
    std::uint32_t style = 0;
    std::uintptr_t owner = 0;
    std::uint32_t timeout = 0;  // after which it closes by itself; 0 for none
};

struct Window {
    std::string className;
    std::string title;
    std::uint32_t processId = 1;  // the program's own by default
    std::uint32_t threadId = 1;
    std::uint32_t exStyle = 0;
    std::uint32_t style = 0;
    Rect place;  // left, top, right, bottom
    bool alive = true;
    bool visible = false;
    bool topmost = false;
    std::optional<std::uint8_t> opacity;
    int invalidations = 0;
    bool invalid = true;  // a paint is due once the window is visible
};

// One drawing operation, in order: a text or a copy of a bitmap.
struct Drawing {
    std::string target{};          // "window", or what the target bitmap holds
    std::string source{};          // what the copied bitmap holds, or the text
    Rect place{};                  // where the copy landed, or the text's rectangle
    std::uint32_t operation = 0;   // the raster operation, or the text's format
    std::uint32_t textColor = 0;   // the target context's, at that moment
    bool transparentText = false;  // the target context's background mode
    std::string font{};            // face of the target context's font, empty for the system's
    bool operator==(const Drawing&) const = default;
};

// A bitmap or a font the program holds.
struct GdiObject {
    std::string
        content{};  // a bitmap's picture (its resource, or what was copied in); a font's face
    skervo::platform::BitmapRecord size{};
    bool monochrome = false;
};

struct ContextState {
    std::uintptr_t window = 0;  // 0 for a memory context
    std::uintptr_t bitmap = 0;
    std::uintptr_t font = 0;
    std::uint32_t textColor = 0x000000;
    std::uint32_t backgroundColor = 0xFFFFFF;
    bool transparentText = false;
};

inline constexpr std::uint64_t kForever = ~std::uint64_t{0};

// An executable on the disk, and what it does when started.
struct Program {
    std::vector<std::string> libraries{};     // modules after the executable
    std::vector<std::string> windowTitles{};  // top-level windows of its main thread
    std::uint64_t runsFor = kForever;         // until it ends by itself
    std::uint64_t busyFor = 0;                // until it first waits for input
    std::uint32_t exitCode = 0;
};

struct Process {
    std::string image;
    std::vector<std::string> modules;  // the executable first
    std::uint32_t mainThreadId = 0;
    std::string commandLine;
    std::string currentDirectory;
    std::uint32_t creationFlags = 0;
    skervo::platform::StartupRecord startup;
    std::uint64_t endsAt = kForever;
    std::uint64_t readyAt = 0;
    std::uint32_t exitCode = 0;
    bool terminated = false;
    std::uint32_t refusedAccess = 0;  // rights the user lacks: kProcessVmRead, another user's
    std::uint32_t sessionId = 1;      // the program's own by default
    bool modulesListed = true;        // false for a 64-bit process seen from a 32-bit program
};

// Why a file cannot be opened, until when (ms from the start).
struct Refusal {
    std::uint32_t error = 5;  // ERROR_ACCESS_DENIED
    std::uint64_t until = kForever;
};

// A kernel handle the program holds.
struct OpenHandle {
    enum class Kind { File, Process, Thread, Snapshot, Token, EventSource } kind = Kind::File;
    std::string path{};      // File
    std::size_t offset = 0;  // File; Snapshot: next entry
    std::uint32_t processId = 0;
    // Process: PROCESS_ALL_ACCESS, unless opened for less; File: as opened
    std::uint32_t access = 0x1FFFFF;
    std::vector<skervo::platform::ProcessEntry> entries{};  // Snapshot
};

// A dial's notification thread calls into the desktop too: the seam functions
// it reaches take this lock, as the platform's own are safe between threads.
inline std::recursive_mutex seamMutex;

// What a system's text conversions refuse, as the real ones do.
enum class Conversions {
    Current,         // UTF-8 takes flags, but refuses WC_NO_BEST_FIT_CHARS
    Nt4,             // the 95 family too: UTF-8 takes no flags; no WC_NO_BEST_FIT_CHARS
    FirstWindows95,  // no UTF-8 at all; no WC_NO_BEST_FIT_CHARS
};

inline constexpr std::uint32_t kTurkish = 0x041F;

struct Desktop {
    // 1252 stands for every single-byte code page and works as ISO 8859-1;
    // 932 has lead bytes; 65001 is UTF-8. The consoles' code page is 850,
    // as far as the checker's French letters go.
    std::uint32_t ansiCodePage = 1252;
    Conversions conversions = Conversions::Current;
    std::uint32_t userLocale = 0x040C;  // French
    std::string commandLine;
    std::wstring commandLineW;  // when empty, the ANSI one widened
    std::string modulePath = "C:\\Outils\\skervo.exe";
    std::map<std::string, std::string> files;  // path -> bytes
    std::map<std::string, Refusal> refusedFiles;
    // Files whose reads fail once this many have succeeded: a share that drops.
    std::map<std::string, int> readsBeforeFailure;
    // The owners and access lists of files and folders: one not here is the
    // administrators' alone; nullopt keeps no security (FAT).
    std::map<std::string, std::optional<skervo::platform::FileSecurity>> fileSecurity;
    // Files reached through a symbolic link: the link's path, and the file it leads to.
    std::map<std::string, std::string> links;
    std::map<std::string, std::uint32_t> hardLinkCounts;  // of files with more than one name
    std::set<std::string> reparsePoints;
    // The program's own token: its user, whether it runs elevated (nullopt
    // before Vista), and the groups it holds enabled.
    std::string tokenUser = "S-1-5-21-7-7-7-1001";
    std::optional<bool> tokenElevated = false;
    std::vector<std::string> tokenGroups = {"S-1-1-0", "S-1-5-32-545"};
    // Files another process holds open, without sharing their deletion,
    // and whose lock it holds; what it appends to them just before each of
    // the program's writes there.
    std::set<std::string> lockedByOthers;
    std::string othersWriteFirst;
    std::uint32_t lockMilliseconds = 0;  // what each attempt at a lock takes (a far share)
    std::size_t freeDiskBytes = ~std::size_t{0};
    std::uint32_t lastError = 0;
    std::string currentDirectory = "C:\\Travail\\";
    std::string computerName = "PC-042";
    // The program's environment, by upper-case name.
    std::map<std::string, std::wstring> environment = {{"SYSTEMROOT", L"C:\\Windows"}};
    std::string computerDnsName = "pc-042.ecole.local";
    std::string userName = "jean";
    std::string samUserName = "ECOLE\\jean";
    int utcOffsetMinutes = 60;  // the local time's
    std::vector<Event> events;
    std::set<std::string> folders;
    // Drive letters (upper case) and their kinds; a letter not here names no drive.
    std::map<char, std::uint32_t> driveTypes = {{'C', skervo::platform::kDriveFixed}};
    // Every path whose attributes or short form were asked, in order.
    std::vector<std::string> probedPaths;
    std::map<std::string, Program> programs;        // by lower-case path
    std::map<std::string, std::string> shortNames;  // lower-case long path -> short form
    std::map<std::uint32_t, Process> processes;
    std::uint32_t nextProcessId = 1000;
    // Once the program holds no handle on a process, an ended one may leave its id to another.
    std::function<void(std::uint32_t)> onProcessLetGo;

    // The virtual clock: Sleep advances it at once.
    std::uint32_t tick = 1000;
    std::uint64_t elapsed = 0;
    // Actions that fire once the clock reaches their time (ms from the start).
    std::multimap<std::uint64_t, std::function<void()>> scheduled;
    std::function<void()> onSleep;       // before each sleep
    std::function<void()> onSnapshot;    // once a process listing is taken
    std::function<void()> onInvalidate;  // at each repaint request

    // Libraries by lower-case name, each with its exported functions.
    std::map<std::string, std::set<std::string>> libraries = {
        {"kernel32.dll",
         {"GetVersionExA", "CreateToolhelp32Snapshot", "Process32First", "Process32Next",
          "QueryFullProcessImageNameA", "SetDefaultDllDirectories", "SetDllDirectoryA",
          "SetSearchPathMode", "ProcessIdToSessionId", "GetFinalPathNameByHandleW",
          "SystemTimeToTzSpecificLocalTime", "GetComputerNameExA", "MoveFileExA"}},
        {"psapi.dll", {"EnumProcesses", "EnumProcessModules", "GetModuleFileNameExA"}},
        {"user32.dll", {"SetLayeredWindowAttributes"}},
        {"advapi32.dll",
         {"GetFileSecurityW", "OpenProcessToken", "GetTokenInformation", "EnumServicesStatusA",
          "RegisterEventSourceA", "ReportEventA", "DeregisterEventSource"}},
        {"secur32.dll", {"GetUserNameExA"}}};
    bool versionQuerySucceeds = true;
    std::vector<std::string> searchRestrictions;  // the calls that keep planted files out
    std::uint32_t platformId = 2;

    std::map<std::string, WindowClass> classes;
    std::map<std::uintptr_t, Window> windows;
    bool windowCreationFails = false;
    std::deque<Message> queue;
    std::optional<Rect> workArea = Rect{0, 0, 1024, 740};
    int fullScreenWidth = 1024;
    int fullScreenHeight = 768;

    // Pictures of the program's resources, by name.
    std::map<std::string, skervo::platform::BitmapRecord> bitmapResources = {{"FOND", {200, 100}},
                                                                             {"CNX", {16, 16}}};
    std::map<std::uintptr_t, GdiObject> gdiObjects;
    std::map<std::uintptr_t, ContextState> deviceContexts;
    std::vector<Drawing> drawings;
    int captureReleases = 0;
    int windowDrags = 0;

    bool trayAddSucceeds = true;
    std::optional<NotifyIconRecord> trayIcon;
    int trayModifications = 0;

    // What the program did to other applications, in order: "close <title>", "kill <image>".
    std::vector<std::string> actions;

    std::vector<MessageBox> boxes;
    int yesNoAnswer = 7;       // IDNO, the button a question's Enter presses
    bool nobodyThere = false;  // a box that closes by itself waits for its time limit
    // The standard output of a console program: a console, or a file or pipe.
    bool outputIsConsole = false;
    bool outputFails = false;      // every write to it fails: a closed pipe, a full disk
    std::string standardOutput;    // the bytes written to it
    std::wstring consoleText;      // what WriteConsoleW showed on it
    std::size_t longestWrite = 0;  // in bytes or characters
    std::uint32_t errorMode = 0;
    std::function<void(const MessageBox&)> onMessageBox;

    // Open kernel handles and loaded libraries, to find leaks. Libraries
    // that the program binds for good are not counted as open handles.
    std::map<std::uintptr_t, OpenHandle> handles;
    std::map<std::uintptr_t, std::string> loadedLibraries;
    std::map<std::uintptr_t, std::string> residentModules;
    std::vector<std::pair<std::uintptr_t, std::string>> procedures;  // library, name
    std::uintptr_t nextHandle = 0x100;

    const std::string& ProcedureName(skervo::platform::ProcAddress address) const {
        std::lock_guard lock(seamMutex);
        return procedures.at(static_cast<std::size_t>(address) - 1).second;
    }
    ServiceManager services;
    ShellNamespace shell;
    Registry registry;
    Dialup dialup;

    std::size_t OpenHandleCount() const {
        return handles.size() + services.OpenCount() + shell.OpenCount() + registry.OpenCount();
    }
    bool Running(const Process& process) const {
        return !process.terminated && elapsed < process.endsAt;
    }
    // Advances the virtual clock and fires what falls due.
    void Advance(std::uint64_t milliseconds);
    // The stored path of a file, found without regard to case as the file
    // system finds it; empty when there is none.
    std::string FilePath(const std::string& path) const;
    // Puts an executable on the disk, with its short form when it has one.
    void AddProgram(const std::string& path, Program program = {},
                    const std::string& shortPath = "");
    // Starts a process of an executable as if some other program had.
    std::uint32_t StartProcess(const std::string& path);

    void CloseWindowAfter(std::uint64_t milliseconds, const std::string& className);
};

extern Desktop desktop;

// Paths and library names compare without regard to case.
std::string Lower(std::string text);
std::string Upper(std::string text);

}  // namespace sim
