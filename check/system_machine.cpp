#include "check/system_machine.h"

#include "check/line_action.h"
#include "common/files.h"
#include "common/system_files.h"
#include "common/text_rules.h"
#include "dialup/ras_library.h"
#include "platform/dialup.h"
#include "platform/kernel.h"
#include "platform/services.h"

namespace skervo {
namespace {

// The remote-access connection manager: loading the dial-up library starts
// it, and looking an entry up too.
constexpr std::string_view kRemoteAccessManager = "RasMan";

constexpr std::uint32_t kErrorBufferTooSmall = 603;
constexpr std::uint32_t kErrorCannotFindEntry = 623;

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsLocalDrive(std::uint32_t type) {
    return type == platform::kDriveFixed || type == platform::kDriveRemovable ||
           type == platform::kDriveCdrom || type == platform::kDriveRamdisk;
}

}  // namespace

// \\serveur\partage, //serveur/partage, \\?\UNC\..., \\.\..., and the object
// names \??\... and \GLOBAL??\... all may reach a server; a single leading
// separator names the current drive, which may be a share.
PathPlace SystemMachine::PlaceOf(std::string_view path) {
    if (path.starts_with('"')) {
        path.remove_prefix(1);
    }
    if (path.size() >= 2 && IsSeparator(path[0])) {
        const bool objectName = UpperCase(path.substr(0, 4)) == "\\??\\" ||
                                UpperCase(path.substr(0, 10)) == "\\GLOBAL??\\";
        return IsSeparator(path[1]) || objectName ? PathPlace::Network : PathPlace::Relative;
    }
    const auto letter = static_cast<unsigned char>(path.empty() ? 0 : path[0]) | 0x20;
    if (path.size() < 3 || letter < 'a' || letter > 'z' || path[1] != ':' ||
        !IsSeparator(path[2])) {
        return PathPlace::Relative;
    }
    const std::string root{path[0], ':', '\\'};
    return IsLocalDrive(platform::GetDriveTypeA(root)) ? PathPlace::LocalDrive : PathPlace::Network;
}

void SystemMachine::AllowNetworkProbes() {
    networkProbes_ = true;
}

// A relative path is not probed for the share it may lie on: allowing the
// network allows it too.
bool SystemMachine::Probes(std::string_view path) {
    return networkProbes_ || PlaceOf(path) == PathPlace::LocalDrive;
}

ProgramChoice SystemMachine::ChooseProgram(std::string_view text) {
    return skervo::ChooseProgram(text, Probes(text) ? FileTest(skervo::FileExists) : FileTest{});
}

bool SystemMachine::FileExists(const std::string& path) {
    return !Probes(path) || skervo::FileExists(path);
}

bool SystemMachine::PathExists(const std::string& path) {
    return !Probes(path) || platform::GetFileAttributesA(path) != platform::kInvalidFileAttributes;
}

// A path not probed follows the launcher's order, as the text alone does.
bool SystemMachine::NamesDocumentOrFolder(const std::string& path) {
    return Probes(path) && skervo::NamesDocumentOrFolder(path);
}

// The closing's own test: the normalised path of an existing file. A name
// not probed is a path when it names a program, as the text alone takes it.
bool SystemMachine::ClosesByPath(std::string_view name) {
    if (!Probes(name)) {
        return ClosesByPathInText(name);
    }
    const std::string target = NormalisedPath(std::string(name));
    return !target.empty() && skervo::FileExists(target);
}

// Only the rights to connect and to query: any user may ask. A service the
// user may not query exists all the same.
Answer SystemMachine::ServiceExists(const std::string& name) {
    const platform::OwnedServiceHandle manager(
        platform::OpenSCManagerA(platform::kScManagerConnect));
    if (!manager) {
        return Answer::Unknown;
    }
    const platform::OwnedServiceHandle service(
        platform::OpenServiceA(manager.Get(), name, platform::kServiceQueryStatus));
    if (service) {
        return Answer::Yes;
    }
    return platform::GetLastError() == platform::kErrorServiceDoesNotExist ? Answer::No
                                                                           : Answer::Unknown;
}

// A system without the service manager (the 95 family) counts as one where
// it does not run: nothing is loaded that might start something.
bool SystemMachine::RemoteAccessManagerRuns() {
    if (!managerRunning_) {
        const platform::OwnedServiceHandle manager(
            platform::OpenSCManagerA(platform::kScManagerConnect));
        const platform::OwnedServiceHandle service(
            manager ? platform::OpenServiceA(manager.Get(), std::string(kRemoteAccessManager),
                                             platform::kServiceQueryStatus)
                    : platform::ServiceHandle{});
        platform::ServiceStatus status;
        managerRunning_ = service && platform::QueryServiceStatus(service.Get(), status) &&
                          status.currentState == platform::kServiceRunning;
    }
    return *managerRunning_;
}

// Loaded only where the manager already runs; elsewhere its file is looked
// for where the loading would look: in the system folder.
bool SystemMachine::HasDialupLibrary() {
    if (!dialupLibrary_) {
        dialupLibrary_ =
            RemoteAccessManagerRuns()
                ? !platform::IsNull(LookUpRasFunction(ras_, "RasEnumConnections").function)
                : skervo::FileExists(SystemFilePath("rasapi32.dll")) ||
                      skervo::FileExists(SystemFilePath("rnaph.dll"));
    }
    return *dialupLibrary_;
}

// Only whether the entry is there: the automatic dial's own lookup would
// fetch its stored password too.
Answer SystemMachine::PhoneBookHas(const std::string& entry) {
    if (!RemoteAccessManagerRuns()) {
        return Answer::Unknown;
    }
    const platform::ProcAddress lookUp = LookUpRasFunction(ras_, "RasGetEntryProperties").function;
    if (platform::IsNull(lookUp)) {
        return Answer::Unknown;
    }
    if (entry.size() > platform::kRasMaxEntryName) {
        return Answer::No;
    }
    switch (platform::InvokeRasGetEntryProperties(lookUp, entry)) {
        case 0:
        case kErrorBufferTooSmall:
            return Answer::Yes;
        case kErrorCannotFindEntry:
            return Answer::No;
        default:
            return Answer::Unknown;
    }
}

// Bound by name: the 95 family's library may not have it.
std::vector<std::string> SystemMachine::ServiceNames() {
    std::vector<std::string> names;
    const platform::ProcAddress list =
        platform::GetProcAddress(platform::GetModuleHandleA("advapi32.dll"), "EnumServicesStatusA");
    const platform::OwnedServiceHandle manager(platform::OpenSCManagerA(
        platform::kScManagerConnect | platform::kScManagerEnumerateService));
    if (!platform::IsNull(list) && manager) {
        platform::InvokeEnumServicesStatusA(list, manager.Get(), names);
    }
    return names;
}

std::vector<std::string> SystemMachine::EntryNames() {
    std::vector<std::string> names;
    if (RemoteAccessManagerRuns()) {
        const platform::ProcAddress list = LookUpRasFunction(ras_, "RasEnumEntries").function;
        if (!platform::IsNull(list)) {
            platform::InvokeRasEnumEntries(list, names);
        }
    }
    return names;
}

bool SystemMachine::DefinesVariable(const std::string& name) {
    return platform::IsEnvironmentVariableDefined(name);
}

}  // namespace skervo
