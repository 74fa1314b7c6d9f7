#include "programs/process_enumeration.h"

#include <algorithm>
#include <vector>

#include "common/files.h"
#include "common/run_state.h"
#include "common/system_files.h"
#include "common/text_rules.h"
#include "platform/growing_text.h"
#include "platform/kernel.h"
#include "platform/process_listing.h"

namespace skervo {
namespace {

constexpr std::uint32_t kFirstProcessCapacity = 256;
constexpr std::uint32_t kModulesCompared = 50;
constexpr std::uint32_t kReadAccess = platform::kProcessQueryInformation | platform::kProcessVmRead;

// A file to find among the processes: its normalised path, and the names it
// goes by in its folder (short and long), when they could be read.
struct Target {
    std::string normalised;
    std::vector<std::string> names;
};

ProcessListingFunctions& Bound() {
    return runState.ProcessListing;
}

// The kernel's functions that not every system has.
bool BindKernelFunctions() {
    ProcessListingFunctions& bound = Bound();
    if (platform::IsNull(bound.kernel)) {
        bound.kernel = platform::GetModuleHandleA("kernel32.dll");
        if (!platform::IsNull(bound.kernel)) {
            bound.createSnapshot =
                platform::GetProcAddress(bound.kernel, "CreateToolhelp32Snapshot");
            bound.process32First = platform::GetProcAddress(bound.kernel, "Process32First");
            bound.process32Next = platform::GetProcAddress(bound.kernel, "Process32Next");
            bound.queryFullProcessImageName =
                platform::GetProcAddress(bound.kernel, "QueryFullProcessImageNameA");
            bound.processIdToSessionId =
                platform::GetProcAddress(bound.kernel, "ProcessIdToSessionId");
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
    const platform::ModuleHandle psapi = platform::LoadLibraryA(SystemFilePath("psapi.dll"));
    if (!platform::IsLoadedLibrary(psapi)) {
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

bool EnumModules(platform::KernelHandle process, std::vector<platform::ModuleHandle>& modules) {
    const platform::ProcAddress enumModules =
        PsapiFunction(&ProcessListingFunctions::enumProcessModules);
    return !platform::IsNull(enumModules) &&
           platform::InvokeEnumProcessModules(enumModules, process, modules, kModulesCompared);
}

// A module's full path, whatever its length; empty when it cannot be read.
std::string ModuleFileName(platform::KernelHandle process, platform::ModuleHandle module) {
    const platform::ProcAddress moduleFileName =
        PsapiFunction(&ProcessListingFunctions::getModuleFileNameEx);
    if (platform::IsNull(moduleFileName)) {
        return {};
    }
    // A name that fills the buffer, less its terminator, may have been cut.
    return platform::FillGrowing([&](char* buffer, std::size_t size) {
        const std::uint32_t length = platform::InvokeGetModuleFileNameExA(
            moduleFileName, process, module, buffer, static_cast<std::uint32_t>(size));
        return length + 1 < size ? std::optional<std::size_t>(length) : std::nullopt;
    });
}

// The executable's path by another way, for a process whose modules cannot
// be listed: a 32-bit program cannot read those of a 64-bit process.
std::string ExecutablePath(platform::KernelHandle process) {
    BindKernelFunctions();
    const platform::ProcAddress imageName = Bound().queryFullProcessImageName;
    return platform::IsNull(imageName)
               ? std::string()
               : platform::InvokeQueryFullProcessImageNameA(imageName, process);
}

bool SameIgnoringAsciiCase(std::string_view first, std::string_view second) {
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    return std::equal(first.begin(), first.end(), second.begin(), second.end(),
                      [&](char a, char b) { return upper(a) == upper(b); });
}

Target DescribeTarget(const std::string& normalised) {
    Target target{normalised, {}};
    platform::FindData found;
    if (platform::FindFirstFileA(normalised, found)) {
        target.names = {std::string(FileNameOf(normalised)), found.fileName};
    }
    return target;
}

// A path whose file name is none of the target's names names another file:
// only the others are worth the trip through the file system that shortening
// a path costs. Names compare without regard to case: of the ASCII letters as
// the full comparison does (a Turkish locale keeps I and i apart), and of the
// others as the locale does, as the file system folds them too.
bool MayNameTarget(std::string_view path, const Target& target) {
    const std::string fileName(FileNameOf(path));
    return target.names.empty() ||
           std::any_of(target.names.begin(), target.names.end(), [&](const std::string& name) {
               return SameIgnoringAsciiCase(fileName, name) ||
                      platform::CompareStringA(platform::kLocaleUserDefault,
                                               platform::kNormIgnoreCase, fileName,
                                               name) == platform::kCompareEqual;
           });
}

bool NamesTarget(const std::string& path, const Target& target) {
    return MayNameTarget(path, target) && NormalisedPath(path) == target.normalised;
}

// Whether the process runs in the program's own session. Systems without
// sessions (the 95 family, NT 4) have one for everybody; a session that
// cannot be read is not ours. The caller holds the process open, so that
// its id names it still.
bool InOurSession(std::uint32_t processId) {
    BindKernelFunctions();
    const platform::ProcAddress sessionOf = Bound().processIdToSessionId;
    if (platform::IsNull(sessionOf)) {
        return true;
    }
    std::uint32_t ours = 0;
    std::uint32_t theirs = 0;
    return platform::InvokeProcessIdToSessionId(sessionOf, platform::GetCurrentProcessId(), ours) &&
           platform::InvokeProcessIdToSessionId(sessionOf, processId, theirs) && ours == theirs;
}

// A process open to read its modules, and for the action when the system
// allows it: the action then ends what was matched, never a process that
// took its id since.
struct OpenedProcess {
    platform::OwnedHandle handle;
    MatchedProcess matched;
};

OpenedProcess OpenForMatch(std::uint32_t processId, std::uint32_t actionAccess) {
    OpenedProcess opened{
        platform::OwnedHandle(platform::OpenProcess(kReadAccess | actionAccess, processId)),
        {processId}};
    if (opened.handle) {
        opened.matched.handle = opened.handle.Get();
    } else {
        opened.matched.refusal = platform::GetLastError();
        opened.handle.Reset(platform::OpenProcess(kReadAccess, processId));
    }
    return opened;
}

// Whether one of the process's first 50 modules is the target file; for a
// process whose modules cannot be listed, whether its executable is.
bool ProcessHasModule(platform::KernelHandle process, const Target& target) {
    std::vector<platform::ModuleHandle> modules;
    if (!EnumModules(process, modules)) {
        return NamesTarget(ExecutablePath(process), target);
    }
    return std::any_of(modules.begin(), modules.end(), [&](platform::ModuleHandle module) {
        const std::string name = ModuleFileName(process, module);
        return !name.empty() && NamesTarget(name, target);
    });
}

bool EntryNamesTarget(const platform::ProcessEntry& entry, const Target& target) {
    // Upper-cased first, then shortened: only the executable is compared here.
    return MayNameTarget(entry.exeFile, target) &&
           platform::GetShortPathNameA(UpperCase(entry.exeFile)) == target.normalised;
}

// Each bound function answers failure when it is missing, as the others do.
template <typename Visit>
void ForEachSnapshotEntry(Visit visit) {
    const platform::OwnedHandle snapshot(platform::InvokeCreateToolhelp32Snapshot(
        Bound().createSnapshot, platform::kTh32csSnapProcess, 0));
    if (!snapshot) {
        return;
    }
    const auto fetch = [&](platform::ProcAddress function, auto invoke,
                           platform::ProcessEntry& entry) {
        return !platform::IsNull(function) && invoke(function, snapshot.Get(), entry);
    };
    platform::ProcessEntry entry;
    for (bool fetched = fetch(Bound().process32First, platform::InvokeProcess32First, entry);
         fetched; fetched = fetch(Bound().process32Next, platform::InvokeProcess32Next, entry)) {
        visit(entry);
    }
}

// The id listed may have passed to another process before it was opened: the
// process opened must be the target's still. Its handle keeps its id from
// passing on, so where its executable cannot be asked (before Vista) a
// second listing tells.
bool OpenedIsTarget(platform::KernelHandle process, std::uint32_t processId, const Target& target) {
    if (!platform::IsNull(Bound().queryFullProcessImageName)) {
        return NamesTarget(ExecutablePath(process), target);
    }
    bool listed = false;
    ForEachSnapshotEntry([&](const platform::ProcessEntry& entry) {
        listed |= entry.processId == processId && EntryNamesTarget(entry, target);
    });
    return listed;
}

// The listing names each executable: a process is opened only for the action,
// and to ask its executable where the system can.
void ForEachToolHelpProcess(const Target& target, std::uint32_t actionAccess,
                            const std::function<void(const MatchedProcess&)>& action) {
    if (!BindKernelFunctions()) {
        return;
    }
    const std::uint32_t access = actionAccess | (platform::IsNull(Bound().queryFullProcessImageName)
                                                     ? 0
                                                     : platform::kProcessQueryLimitedInformation);
    ForEachSnapshotEntry([&](const platform::ProcessEntry& entry) {
        if (!EntryNamesTarget(entry, target)) {
            return;
        }
        const platform::OwnedHandle process(platform::OpenProcess(access, entry.processId));
        const std::uint32_t refusal = process ? 0 : platform::GetLastError();
        if ((!process || OpenedIsTarget(process.Get(), entry.processId, target)) &&
            InOurSession(entry.processId)) {
            action({entry.processId, process.Get(), refusal});
        }
    });
}

}  // namespace

void ForEachProcessOfFile(const std::string& normalisedTarget, std::uint32_t actionAccess,
                          const std::function<void(const MatchedProcess&)>& action) {
    const Target target = DescribeTarget(normalisedTarget);
    std::vector<std::uint32_t> ids;
    if (!EnumAllProcesses(ids)) {
        ForEachToolHelpProcess(target, actionAccess, action);
        return;
    }
    for (const std::uint32_t id : ids) {
        const OpenedProcess opened = OpenForMatch(id, actionAccess);
        if (opened.handle && ProcessHasModule(opened.handle.Get(), target) && InOurSession(id)) {
            action(opened.matched);
        }
    }
}

}  // namespace skervo
