#pragma once
// Which connection command a line beginning with & is, and what of it counts.
#include <string_view>

namespace skervo {

enum class ConnectionCommand {
    AutomaticDial,        // &&x
    WaitForConnection,    // &-
    HangUpAll,            // &<
    WaitForNoConnection,  // &> and &>,-
    DialogDial,           // &x, & alone included
};

enum class StatusWindowDuringWait { Kept, Hidden };

struct ConnectionForm {
    ConnectionCommand command = ConnectionCommand::DialogDial;
    // The entry of a dial, trimmed; empty for the other commands.
    std::string_view entry;
    // &>,- asks for the status window to be hidden during the wait.
    StatusWindowDuringWait window = StatusWindowDuringWait::Kept;
    // What the command does not read: all after &-, &< and &>, but for the
    // ,- right after &>.
    std::string_view ignored;
};

// line is trimmed and begins with &.
ConnectionForm RecogniseConnection(std::string_view line);

// Whether an entry's name can go whole into the dialog's command line: a
// double quote would close it there and let the rest of the name add
// arguments of its own; a control byte is in no entry's name.
bool FitsTheDialogsCommandLine(std::string_view entry);

}  // namespace skervo
