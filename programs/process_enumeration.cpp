#include "programs/process_enumeration.h"

#include <vector>

#include "common/run_state.h"
#include "common/text_rules.h"
#include "platform/kernel.h"
#include "platform/process_listing.h"

namespace skervo {
namespace {

constexpr std::uint32_t kFirstProcessCapacity = 256;
constexpr std::uint32_t kModulesCompared = 50;
constexpr std::uint32_t kFirstNameCapacity = 260;
constexpr std::uintptr_t kLastFailedLoadValue = 31;

ProcessListingFunctions& Bound() {
    return runState.ProcessListing;
}

bool BindToolHelp() {
    ProcessListingFunctions& bound = Bound();
    if (platform::IsNull(bound.kernel)) {
        bound.kernel = platform::GetModuleHandleA("kernel32.dll");
        if (!platform::IsNull(bound.kernel)) {
            bound.createSnapshot =
                platform::GetProcAddress(bound.kernel, "CreateToolhelp32Snapshot");
            bound.process32First = platform::GetProcAddress(bound.kernel, "Process32First");
            bound.process32Next = platform::GetProcAddress(bound.kernel, "Process32Next");
        }
    }
    return !platform::IsNull(bound.kernel) && !platform::IsNull(bound.createSnapshot);
}

// A failed load is tried again at the next call; a successful one is kept.
bool BindPsapi() {
    ProcessListingFunctions& bound = Bound();
    if (!platform::IsNull(bound.psapi)) {
        return true;
    }
    const platform::ModuleHandle psapi = platform::LoadLibraryA("psapi.dll");
    if (static_cast<std::uintptr_t>(psapi) <= kLastFailedLoadValue) {
        return false;
    }
    bound.psapi = psapi;
    bound.enumProcesses = platform::GetProcAddress(psapi, "EnumProcesses");
    bound.enumProcessModules = platform::GetProcAddress(psapi, "EnumProcessModules");
    bound.getModuleFileNameEx = platform::GetProcAddress(psapi, "GetModuleFileNameExA");
    return true;
}

// A process-status function, bound at its first use; null when unavailable.
platform::ProcAddress PsapiFunction(platform::ProcAddress ProcessListingFunctions::*function) {
    return BindPsapi() ? Bound().*function : platform::ProcAddress{};
}

// Every running process: the list is asked again, larger, while it comes back full.
bool EnumAllProcesses(std::vector<std::uint32_t>& ids) {
    const platform::ProcAddress enumProcesses =
        PsapiFunction(&ProcessListingFunctions::enumProcesses);
    if (platform::IsNull(enumProcesses)) {
        return false;
    }
    for (std::uint32_t capacity = kFirstProcessCapacity;; capacity *= 2) {
        if (!platform::InvokeEnumProcesses(enumProcesses, ids, capacity)) {
            return false;
        }
        if (ids.size() < capacity) {
            return true;
        }
    }
}

// A module's full path, whatever its length; empty when it cannot be read.
std::string ModuleFileName(platform::KernelHandle process, platform::ModuleHandle module) {
    const platform::ProcAddress moduleFileName =
        PsapiFunction(&ProcessListingFunctions::getModuleFileNameEx);
    if (platform::IsNull(moduleFileName)) {
        return {};
    }
    for (std::uint32_t capacity = kFirstNameCapacity;; capacity *= 2) {
        std::string name(capacity, '\0');
        const std::uint32_t length = platform::InvokeGetModuleFileNameExA(
            moduleFileName, process, module, name.data(), capacity);
        if (length + 1 < capacity) {
            name.resize(length);
            return name;
        }
    }
}

void ForEachToolHelpProcess(const std::string& target,
                            const std::function<void(std::uint32_t)>& action) {
    if (!BindToolHelp()) {
        return;
    }
    const platform::KernelHandle snapshot = platform::InvokeCreateToolhelp32Snapshot(
        Bound().createSnapshot, platform::kTh32csSnapProcess, 0);
    if (platform::IsNull(snapshot) || snapshot == platform::kInvalidHandle) {
        return;
    }
    // Each bound function answers failure when it is missing, as the others do.
    const auto fetch = [&](platform::ProcAddress function, auto invoke,
                           platform::ProcessEntry& entry) {
        return !platform::IsNull(function) && invoke(function, snapshot, entry);
    };
    platform::ProcessEntry entry;
    bool fetched = fetch(Bound().process32First, platform::InvokeProcess32First, entry);
    while (fetched) {
        // Upper-cased first, then shortened: only the executable is compared here.
        if (platform::GetShortPathNameA(UpperCase(entry.exeFile)) == target) {
            action(entry.processId);
        }
        fetched = fetch(Bound().process32Next, platform::InvokeProcess32Next, entry);
    }
    platform::CloseHandle(snapshot);
}

}  // namespace

std::string NormalisedPath(const std::string& path) {
    return UpperCase(platform::GetShortPathNameA(path));
}

bool ProcessHasModule(std::uint32_t processId, const std::string& target) {
    const platform::KernelHandle process = platform::OpenProcess(
        platform::kProcessQueryInformation | platform::kProcessVmRead, processId);
    if (platform::IsNull(process)) {
        return false;
    }
    const platform::ProcAddress enumModules =
        PsapiFunction(&ProcessListingFunctions::enumProcessModules);
    std::vector<platform::ModuleHandle> modules;
    bool matched = false;
    if (!platform::IsNull(enumModules) &&
        platform::InvokeEnumProcessModules(enumModules, process, modules, kModulesCompared)) {
        for (const platform::ModuleHandle module : modules) {
            const std::string name = ModuleFileName(process, module);
            if (!name.empty() && NormalisedPath(name) == target) {
                matched = true;
                break;
            }
        }
    }
    platform::CloseHandle(process);
    return matched;
}

void ForEachProcessOfFile(const std::string& target,
                          const std::function<void(std::uint32_t)>& action) {
    std::vector<std::uint32_t> ids;
    if (!EnumAllProcesses(ids)) {
        ForEachToolHelpProcess(target, action);
        return;
    }
    for (const std::uint32_t id : ids) {
        if (ProcessHasModule(id, target)) {
            action(id);
        }
    }
}

}  // namespace skervo
