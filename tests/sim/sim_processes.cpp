// Files, processes and the process listings of the simulated desktop.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>

#include "platform/kernel.h"
#include "platform/process_listing.h"
#include "platform/user.h"
#include "tests/sim/desktop.h"

namespace skervo::platform {
namespace {

using sim::desktop;
using sim::Lower;
using Kind = sim::OpenHandle::Kind;

KernelHandle Open(sim::OpenHandle handle) {
    const std::uintptr_t value = desktop.nextHandle++;
    desktop.handles[value] = std::move(handle);
    return KernelHandle{value};
}

sim::OpenHandle* Held(KernelHandle handle, Kind kind) {
    const auto found = desktop.handles.find(static_cast<std::uintptr_t>(handle));
    return found != desktop.handles.end() && found->second.kind == kind ? &found->second : nullptr;
}

sim::Process* HeldProcess(KernelHandle handle) {
    const sim::OpenHandle* held = Held(handle, Kind::Process);
    return held ? &desktop.processes.at(held->processId) : nullptr;
}

// The long form of a path given in its short form, else the path itself.
std::string LongPathOf(const std::string& path) {
    for (const auto& [longPath, shortPath] : desktop.shortNames) {
        if (Lower(path) == Lower(shortPath)) {
            return longPath;
        }
    }
    return path;
}

// NTFS names a file's own data as its stream ::$DATA.
std::string WithoutDataStream(const std::string& path) {
    const std::string stream = "::$data";
    return Lower(path).ends_with(stream) ? path.substr(0, path.size() - stream.size()) : path;
}

// The desktop's libraries lie in the system folder.
bool IsFile(const std::string& given) {
    const std::string path = WithoutDataStream(given);
    const std::string systemFolder = "c:\\windows\\system32\\";
    const bool library = Lower(path).starts_with(systemFolder) &&
                         desktop.libraries.contains(Lower(path).substr(systemFolder.size()));
    return library || !desktop.FilePath(path).empty() ||
           desktop.programs.contains(Lower(LongPathOf(path)));
}

// * stands for any characters, ? for any one.
bool MatchesWildcards(std::string_view pattern, std::string_view name) {
    if (pattern.empty()) {
        return name.empty();
    }
    if (pattern[0] == '*') {
        return MatchesWildcards(pattern.substr(1), name) ||
               (!name.empty() && MatchesWildcards(pattern, name.substr(1)));
    }
    return !name.empty() && (pattern[0] == '?' || pattern[0] == name[0]) &&
           MatchesWildcards(pattern.substr(1), name.substr(1));
}

// The program part of a command line: quoted, or up to the first blank.
std::string ProgramOf(const std::string& commandLine) {
    if (commandLine.starts_with('"')) {
        return commandLine.substr(1, commandLine.find('"', 1) - 1);
    }
    return commandLine.substr(0, commandLine.find(' '));
}

}  // namespace

std::uint32_t GetDriveTypeA(const std::string& root) {
    const auto letter = static_cast<char>(std::toupper(static_cast<unsigned char>(root.at(0))));
    const auto found = desktop.driveTypes.find(letter);
    return root.size() == 3 && root.substr(1) == ":\\" && found != desktop.driveTypes.end()
               ? found->second
               : 1;  // DRIVE_NO_ROOT_DIR
}

std::uint32_t GetFileAttributesA(const std::string& path) {
    desktop.probedPaths.push_back(path);
    if (desktop.folders.contains(path)) {
        return kFileAttributeDirectory;
    }
    return IsFile(path) ? 0x20 : kInvalidFileAttributes;  // FILE_ATTRIBUTE_ARCHIVE
}

bool FindFirstFileA(const std::string& path, FindData& data) {
    if (!IsFile(path)) {
        return false;
    }
    const std::string shortPath = GetShortPathNameA(path);
    const std::string longPath = LongPathOf(path);
    // The whole name: a second byte 0x5C of a double-byte character is no separator.
    std::size_t nameStart = 0;
    for (std::size_t i = 0; i < longPath.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<std::uint8_t>(longPath[i]))) {
            ++i;
        } else if (longPath[i] == '\\') {
            nameStart = i + 1;
        }
    }
    data.fileName = longPath.substr(nameStart);
    data.alternateFileName =
        Lower(shortPath) == Lower(longPath) ? "" : shortPath.substr(shortPath.rfind('\\') + 1);
    return true;
}

// Files first, then folders, each in the order of their paths. A slash
// separates folders as a backslash does.
std::vector<FindData> FindFilesA(const std::string& typed) {
    std::string pattern = typed;
    std::replace(pattern.begin(), pattern.end(), '/', '\\');
    const std::size_t nameStart = pattern.rfind('\\') + 1;
    std::vector<FindData> found;
    const auto add = [&](const std::string& path, std::uint32_t attributes) {
        const std::string name = path.substr(std::min(nameStart, path.size()));
        if (Lower(path.substr(0, nameStart)) == Lower(pattern.substr(0, nameStart)) &&
            name.find('\\') == std::string::npos &&
            MatchesWildcards(Lower(pattern.substr(nameStart)), Lower(name))) {
            found.push_back({name, "", attributes});
        }
    };
    for (const auto& [path, bytes] : desktop.files) {
        add(path, 0x20);
    }
    for (const std::string& path : desktop.folders) {
        add(path, kFileAttributeDirectory);
    }
    return found;
}

std::string GetShortPathNameA(const std::string& path) {
    desktop.probedPaths.push_back(path);
    for (const auto& [longPath, shortPath] : desktop.shortNames) {
        if (Lower(path) == longPath || Lower(path) == Lower(shortPath)) {
            return shortPath;
        }
    }
    return IsFile(path) || desktop.folders.contains(path) ? path : "";
}

bool CreateProcessA(const std::string& applicationName, const std::string& commandLine,
                    std::uint32_t creationFlags, const std::string& currentDirectory,
                    const StartupRecord& startup, ProcessInformation& information) {
    // Without an application name: the first word of the command line, given
    // .exe when its file name has none; any file that is a program runs,
    // whatever its extension.
    std::string program = WithoutDataStream(applicationName);
    if (applicationName.empty()) {
        program = WithoutDataStream(ProgramOf(commandLine));
        if (!desktop.programs.contains(Lower(program)) &&
            program.find('.', program.rfind('\\') + 1) == std::string::npos) {
            program += ".exe";
        }
    }
    // An empty current directory is refused, as on the real system.
    if (!desktop.programs.contains(Lower(program)) || currentDirectory.empty()) {
        desktop.lastError =
            currentDirectory.empty() ? 267 : 2;  // ERROR_DIRECTORY, ERROR_FILE_NOT_FOUND
        return false;
    }
    const std::uint32_t id = desktop.StartProcess(program);
    sim::Process& process = desktop.processes.at(id);
    process.commandLine = commandLine;
    process.currentDirectory = currentDirectory;
    process.creationFlags = creationFlags;
    process.startup = startup;
    information = {Open({.kind = Kind::Process, .processId = id}),
                   Open({.kind = Kind::Thread, .processId = id}), id, process.mainThreadId};
    return true;
}

std::uint32_t WaitForInputIdle(KernelHandle handle, std::uint32_t milliseconds) {
    const sim::Process* process = HeldProcess(handle);
    if (!process) {
        return 0xFFFFFFFF;  // WAIT_FAILED
    }
    if (process->readyAt > desktop.elapsed) {
        desktop.Advance(std::min<std::uint64_t>(process->readyAt - desktop.elapsed, milliseconds));
    }
    return process->readyAt > desktop.elapsed ? kWaitTimeout : 0;
}

std::uint32_t WaitForSingleObject(KernelHandle handle, std::uint32_t milliseconds) {
    const sim::Process* process = HeldProcess(handle);
    if (!process || !(Held(handle, Kind::Process)->access & kSynchronize)) {
        return 0xFFFFFFFF;  // WAIT_FAILED
    }
    if (!desktop.Running(*process)) {
        return 0;
    }
    const std::uint64_t left = process->endsAt - desktop.elapsed;
    desktop.Advance(std::min<std::uint64_t>(left, milliseconds));
    return desktop.Running(*process) ? kWaitTimeout : 0;
}

KernelHandle OpenProcess(std::uint32_t access, std::uint32_t processId) {
    const auto found = desktop.processes.find(processId);
    if (found == desktop.processes.end() || !desktop.Running(found->second) ||
        (access & found->second.refusedAccess)) {
        desktop.lastError = kErrorAccessDenied;
        return KernelHandle{};
    }
    return Open({.kind = Kind::Process, .processId = processId, .access = access});
}

// The program's own windows carry this process id (see sim::Window).
std::uint32_t GetCurrentProcessId() {
    return 1;
}

bool TerminateProcess(KernelHandle handle, std::uint32_t exitCode) {
    sim::Process* process = HeldProcess(handle);
    if (!process || !desktop.Running(*process) ||
        !(Held(handle, Kind::Process)->access & kProcessTerminate)) {
        desktop.lastError = kErrorAccessDenied;
        return false;
    }
    process->terminated = true;
    process->exitCode = exitCode;
    desktop.actions.push_back("kill " + process->image);
    return true;
}

bool GetExitCodeProcess(KernelHandle handle, std::uint32_t& exitCode) {
    const sim::Process* process = HeldProcess(handle);
    if (!process) {
        return false;
    }
    exitCode = desktop.Running(*process) ? 259 : process->exitCode;  // STILL_ACTIVE
    return true;
}

bool InvokeEnumProcesses(ProcAddress function, std::vector<std::uint32_t>& ids,
                         std::uint32_t capacity) {
    if (desktop.ProcedureName(function) != "EnumProcesses") {
        return false;
    }
    ids.clear();
    for (const auto& [id, process] : desktop.processes) {
        if (desktop.Running(process) && ids.size() < capacity) {
            ids.push_back(id);
        }
    }
    return true;
}

bool InvokeEnumProcessModules(ProcAddress function, KernelHandle handle,
                              std::vector<ModuleHandle>& modules, std::uint32_t capacity) {
    const sim::Process* process = HeldProcess(handle);
    if (desktop.ProcedureName(function) != "EnumProcessModules" || !process ||
        !process->modulesListed) {
        return false;
    }
    modules.clear();
    for (std::size_t index = 0; index < process->modules.size() && index < capacity; ++index) {
        modules.push_back(ModuleHandle{index + 1});
    }
    return true;
}

std::uint32_t InvokeGetModuleFileNameExA(ProcAddress function, KernelHandle handle,
                                         ModuleHandle module, char* buffer, std::uint32_t size) {
    const sim::Process* process = HeldProcess(handle);
    if (desktop.ProcedureName(function) != "GetModuleFileNameExA" || !process || size == 0) {
        return 0;
    }
    const std::string& name = process->modules.at(static_cast<std::size_t>(module) - 1);
    const std::size_t length = std::min<std::size_t>(name.size(), size - 1);
    std::memcpy(buffer, name.data(), length);
    buffer[length] = '\0';
    return static_cast<std::uint32_t>(length);
}

// The tool-help listing as the 95 family gives it, with the executable's full path.
KernelHandle InvokeCreateToolhelp32Snapshot(ProcAddress function, std::uint32_t flags,
                                            std::uint32_t) {
    if (desktop.ProcedureName(function) != "CreateToolhelp32Snapshot" ||
        flags != kTh32csSnapProcess) {
        return kInvalidHandle;
    }
    sim::OpenHandle snapshot{.kind = Kind::Snapshot};
    for (const auto& [id, process] : desktop.processes) {
        if (desktop.Running(process)) {
            snapshot.entries.push_back({id, process.image});
        }
    }
    if (auto then = std::exchange(desktop.onSnapshot, nullptr)) {
        then();
    }
    return Open(std::move(snapshot));
}

std::string InvokeQueryFullProcessImageNameA(ProcAddress function, KernelHandle handle) {
    const sim::Process* process = HeldProcess(handle);
    if (desktop.ProcedureName(function) != "QueryFullProcessImageNameA" || !process) {
        return "";
    }
    return process->image;
}

bool InvokeProcessIdToSessionId(ProcAddress function, std::uint32_t processId,
                                std::uint32_t& sessionId) {
    const auto found = desktop.processes.find(processId);
    if (desktop.ProcedureName(function) != "ProcessIdToSessionId" ||
        (found == desktop.processes.end() && processId != GetCurrentProcessId())) {
        return false;
    }
    sessionId =
        found == desktop.processes.end() ? sim::Process{}.sessionId : found->second.sessionId;
    return true;
}

bool InvokeProcess32First(ProcAddress function, KernelHandle snapshot, ProcessEntry& entry) {
    if (sim::OpenHandle* held = Held(snapshot, Kind::Snapshot)) {
        held->offset = 0;
    }
    return InvokeProcess32Next(function, snapshot, entry);
}

bool InvokeProcess32Next(ProcAddress, KernelHandle snapshot, ProcessEntry& entry) {
    sim::OpenHandle* held = Held(snapshot, Kind::Snapshot);
    if (!held || held->offset >= held->entries.size()) {
        return false;
    }
    entry = held->entries[held->offset++];
    return true;
}

}  // namespace skervo::platform
