#include "check/system_machine.h"

#include "common/files.h"
#include "dialup/ras_binding.h"
#include "platform/dialup.h"
#include "platform/kernel.h"
#include "platform/services.h"
#include "programs/process_enumeration.h"

namespace skervo {

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

// The closing's own test: the normalised path of an existing file.
bool SystemMachine::ClosesByPath(std::string_view name) {
    const std::string target = NormalisedPath(std::string(name));
    return !target.empty() && skervo::FileExists(target);
}

// Only the rights to connect and to query: any user may ask.
Answer SystemMachine::ServiceExists(const std::string& name) {
    const platform::OwnedServiceHandle manager(
        platform::OpenSCManagerA(platform::kScManagerConnect));
    if (!manager) {
        return Answer::Unknown;
    }
    const platform::OwnedServiceHandle service(
        platform::OpenServiceA(manager.Get(), name, platform::kServiceQueryStatus));
    return service ? Answer::Yes : Answer::No;
}

bool SystemMachine::HasDialupLibrary() {
    if (!dialupLibrary_) {
        dialupLibrary_ = !platform::IsNull(LookUpRasFunction("RasEnumConnections").function);
    }
    return *dialupLibrary_;
}

// The lookup the automatic dial makes first; it dials nothing.
Answer SystemMachine::PhoneBookHas(const std::string& entry) {
    const platform::ProcAddress lookUp = LookUpRasFunction("RasGetEntryDialParams").function;
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
