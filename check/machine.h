#pragma once
// What the machine the checker runs on says about the things a script names.
// Asking never changes anything there.
#include <string>
#include <string_view>
#include <vector>

#include "programs/program_choice.h"

namespace skervo {

enum class Answer { Yes, No, Unknown };

// Where a path leads, as far as its text and its drive tell.
enum class PathPlace {
    LocalDrive,  // a drive letter of this PC: fixed, removable, CD-ROM or RAM disk
    Network,     // a server's share, a device or object name, a mapped drive
    Relative,    // the current directory's, which may lie on a share
};

class Machine {
  public:
    virtual ~Machine() = default;
    // Only paths on a local drive are probed until the network is allowed:
    // a probe of a share hands the reviewer's credentials to whoever named
    // the server, and may stall. A path not probed is taken to exist, as the
    // text alone takes it.
    virtual void AllowNetworkProbes() = 0;
    virtual PathPlace PlaceOf(std::string_view path) = 0;
    virtual bool Probes(std::string_view path) = 0;
    // The program a launch text starts on this machine, as the launcher
    // chooses it; a path not probed is read as the text alone reads it.
    virtual ProgramChoice ChooseProgram(std::string_view text) = 0;
    // A file that is not a folder.
    virtual bool FileExists(const std::string& path) = 0;
    // A file or a folder: something a shell action may open.
    virtual bool PathExists(const std::string& path) = 0;
    // A folder, or a file that is no program: a plain line naming it goes
    // straight to its default action.
    virtual bool NamesDocumentOrFolder(const std::string& path) = 0;
    // Whether a closing line's name is taken as an executable's path.
    virtual bool ClosesByPath(std::string_view name) = 0;
    virtual Answer ServiceExists(const std::string& name) = 0;
    virtual bool HasDialupLibrary() = 0;
    // Whether this machine's environment defines the variable.
    virtual bool DefinesVariable(const std::string& name) = 0;
    // Unknown where the phone book cannot be read without starting the
    // remote-access manager, or without the library.
    virtual Answer PhoneBookHas(const std::string& entry) = 0;
    // What an editor offers to type: the services installed here, and the
    // phone book's entries where reading it starts nothing (else none).
    virtual std::vector<std::string> ServiceNames() = 0;
    virtual std::vector<std::string> EntryNames() = 0;
};

}  // namespace skervo
