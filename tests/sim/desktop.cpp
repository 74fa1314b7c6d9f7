#include "tests/sim/desktop.h"

#include <algorithm>
#include <cctype>

namespace sim {

Desktop desktop;

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

std::string Upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

void Desktop::Advance(std::uint64_t milliseconds) {
    tick += static_cast<std::uint32_t>(milliseconds);
    elapsed += milliseconds;
    while (!scheduled.empty() && scheduled.begin()->first <= elapsed) {
        auto action = std::move(scheduled.begin()->second);
        scheduled.erase(scheduled.begin());
        action();
    }
}

// A slash separates folders as a backslash does.
std::string Desktop::FilePath(const std::string& path) const {
    std::string typed = Lower(path);
    std::replace(typed.begin(), typed.end(), '/', '\\');
    for (const auto& [stored, bytes] : files) {
        if (Lower(stored) == typed) {
            return stored;
        }
    }
    return "";
}

void Desktop::AddProgram(const std::string& path, Program program, const std::string& shortPath) {
    programs[Lower(path)] = std::move(program);
    if (!shortPath.empty()) {
        shortNames[Lower(path)] = shortPath;
    }
}

std::uint32_t Desktop::StartProcess(const std::string& path) {
    const Program& program = programs.at(Lower(path));
    const std::uint32_t id = nextProcessId;
    nextProcessId += 4;
    Process& process = processes[id];
    process.image = path;
    process.modules = {path};
    process.modules.insert(process.modules.end(), program.libraries.begin(),
                           program.libraries.end());
    process.mainThreadId = id + 1;
    process.exitCode = program.exitCode;
    process.endsAt = program.runsFor == kForever ? kForever : elapsed + program.runsFor;
    process.readyAt = program.busyFor == kForever ? kForever : elapsed + program.busyFor;
    for (const std::string& title : program.windowTitles) {
        Window& window = windows[nextHandle++];
        window.className = "App";
        window.title = title;
        window.processId = id;
        window.threadId = id + 1;
        window.visible = true;
    }
    return id;
}

// What the user does with the close cross: a close request to the window.
void Desktop::CloseWindowAfter(std::uint64_t milliseconds, const std::string& className) {
    scheduled.emplace(milliseconds, [this, className] {
        for (auto& [handle, window] : windows) {
            if (window.className == className && window.alive) {
                queue.push_back(
                    {skervo::platform::WindowHandle{handle}, skervo::platform::kWmClose});
            }
        }
    });
}

}  // namespace sim
