#include "check/system_machine.h"

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

}  // namespace

// The launcher's own quoting of a whole path, then its split.
CommandSplit SystemMachine::SplitLaunchText(std::string_view text) {
    return SplitCommandLine(QuotedWhenFile(text));
}

bool SystemMachine::FileExists(const std::string& path) {
    return skervo::FileExists(path);
}

bool SystemMachine::PathExists(const std::string& path) {
    return platform::GetFileAttributesA(path) != platform::kInvalidFileAttributes;
}

bool SystemMachine::NamesDocumentOrFolder(const std::string& path) {
    return skervo::NamesDocumentOrFolder(path);
}

// The closing's own test: the normalised path of an existing file.
bool SystemMachine::ClosesByPath(std::string_view name) {
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

// The lookup the automatic dial makes first; it dials nothing.
Answer SystemMachine::PhoneBookHas(const std::string& entry) {
    if (!RemoteAccessManagerRuns()) {
        return Answer::Unknown;
    }
    const platform::ProcAddress lookUp = LookUpRasFunction(ras_, "RasGetEntryDialParams").function;
    if (platform::IsNull(lookUp)) {
        return Answer::Unknown;
    }
    if (entry.size() > platform::kRasMaxEntryName) {
        return Answer::No;
    }
    platform::RasDialParameters parameters;
    parameters.entryName = entry;
    bool passwordStored = false;
    return platform::InvokeRasGetEntryDialParams(lookUp, parameters, passwordStored) == 0
               ? Answer::Yes
               : Answer::No;
}

}  // namespace skervo
