// Kernel services of the simulated desktop.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <stdexcept>

#include "platform/kernel.h"
#include "tests/sim/desktop.h"

namespace skervo::platform {
namespace {

using sim::desktop;
using sim::Lower;

}  // namespace

std::string GetCommandLineA() {
    return desktop.commandLine;
}

std::string GetModuleFileNameA() {
    return desktop.modulePath;
}

KernelHandle CreateFileA(const std::string& path, std::uint32_t, std::uint32_t, std::uint32_t) {
    if (!desktop.files.contains(path)) {
        return kInvalidHandle;
    }
    const std::uintptr_t handle = desktop.nextHandle++;
    desktop.handles[handle] = {.kind = sim::OpenHandle::Kind::File, .path = path};
    return KernelHandle{handle};
}

bool ReadFile(KernelHandle file, char* buffer, std::uint32_t size, std::uint32_t& bytesRead) {
    const auto open = desktop.handles.find(static_cast<std::uintptr_t>(file));
    if (open == desktop.handles.end() || open->second.kind != sim::OpenHandle::Kind::File) {
        return false;
    }
    std::size_t& offset = open->second.offset;
    const std::string& bytes = desktop.files.at(open->second.path);
    bytesRead = static_cast<std::uint32_t>(std::min<std::size_t>(size, bytes.size() - offset));
    std::memcpy(buffer, bytes.data() + offset, bytesRead);
    offset += bytesRead;
    return true;
}

bool CloseHandle(KernelHandle handle) {
    return desktop.handles.erase(static_cast<std::uintptr_t>(handle)) == 1;
}

// The program's own folder first, then the system's.
std::string SearchPathA(const std::string& fileName) {
    const std::string module = desktop.modulePath;
    for (const std::string& folder :
         {module.substr(0, module.rfind('\\') + 1), std::string("C:\\Windows\\System32\\")}) {
        if (desktop.programs.contains(Lower(folder + fileName))) {
            return folder + fileName;
        }
    }
    return "";
}

std::uint32_t GetTickCount() {
    return desktop.tick;
}

void Sleep(std::uint32_t milliseconds) {
    if (desktop.onSleep) {
        desktop.onSleep();
    }
    desktop.Advance(milliseconds);
}

ModuleHandle LoadLibraryA(const std::string& name) {
    if (!desktop.libraries.contains(Lower(name))) {
        return ModuleHandle{};
    }
    const std::uintptr_t handle = desktop.nextHandle++;
    desktop.loadedLibraries[handle] = Lower(name);
    return ModuleHandle{handle};
}

// Modules already in the process: found, but not loaded by the program.
ModuleHandle GetModuleHandleA(const std::string& name) {
    if (name.empty()) {
        return ModuleHandle{0x400000};
    }
    if (!desktop.libraries.contains(Lower(name))) {
        return ModuleHandle{};
    }
    for (const auto& [handle, library] : desktop.residentModules) {
        if (library == Lower(name)) {
            return ModuleHandle{handle};
        }
    }
    const std::uintptr_t handle = desktop.nextHandle++;
    desktop.residentModules[handle] = Lower(name);
    return ModuleHandle{handle};
}

ProcAddress GetProcAddress(ModuleHandle module, const std::string& name) {
    std::lock_guard lock(sim::seamMutex);
    const auto handle = static_cast<std::uintptr_t>(module);
    std::string library;
    if (desktop.loadedLibraries.contains(handle)) {
        library = desktop.loadedLibraries[handle];
    } else if (desktop.residentModules.contains(handle)) {
        library = desktop.residentModules[handle];
    }
    if (library.empty() || !desktop.libraries[library].contains(name)) {
        return ProcAddress{};
    }
    desktop.procedures.push_back({handle, name});
    return ProcAddress{desktop.procedures.size()};
}

bool FreeLibrary(ModuleHandle module) {
    return desktop.loadedLibraries.erase(static_cast<std::uintptr_t>(module)) == 1;
}

bool InvokeGetVersionExA(ProcAddress function, OsVersionRecord& record) {
    if (desktop.ProcedureName(function) != "GetVersionExA") {
        throw std::logic_error("not GetVersionExA");
    }
    record.platformId = desktop.platformId;
    return desktop.versionQuerySucceeds;
}

int CompareStringA(std::uint32_t, std::uint32_t flags, const std::string& first,
                   const std::string& second) {
    const bool equal = (flags & kNormIgnoreCase) ? Lower(first) == Lower(second) : first == second;
    return equal ? kCompareEqual : (first < second ? 1 : 3);
}

void ExitProcess(std::uint32_t exitCode) {
    throw sim::ProcessExit{exitCode};
}

}  // namespace skervo::platform
