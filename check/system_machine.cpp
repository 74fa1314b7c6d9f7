#include "check/system_machine.h"

#include "check/line_action.h"
#include "common/files.h"
#include "common/system_files.h"
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

// \\serveur\partage, or //serveur/partage, quoted or not.
bool IsNetworkPath(std::string_view path) {
    if (path.starts_with('"')) {
        path.remove_prefix(1);
    }
    const auto separator = [](char c) { return c == '\\' || c == '/'; };
    return path.size() >= 2 && separator(path[0]) && separator(path[1]);
}

}  // namespace

void SystemMachine::AllowNetworkProbes() {
    networkProbes_ = true;
}

bool SystemMachine::Probes(std::string_view path) {
    return networkProbes_ || !IsNetworkPath(path);
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

}  // namespace skervo
