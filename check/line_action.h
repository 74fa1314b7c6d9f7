#pragma once
// What the runner will do with each line, as far as the text and the machine
// tell: the ground of /Expliquer.
#include <string>
#include <vector>

#include "check/finding.h"
#include "check/machine.h"
#include "script/connection_forms.h"

namespace skervo {

enum class ActionKind {
    Nothing,
    Launch,
    LaunchAndWait,
    OpenDocument,
    StartService,
    StopService,
    Pause,
    CloseApplication,
    KillApplication,
    CloseTitledWindows,
    HideWindow,
    ShowWindow,
    AutomaticDial,
    DialogDial,
    WaitForConnection,
    WaitForNoConnection,
    HangUpAll,
};

enum class AtEndOfRun { Stays, Closed, Killed };

struct LineAction {
    ActionKind kind = ActionKind::Nothing;
    // The program, document, service, application, title fragment or entry;
    // the seconds of a pause.
    std::string subject{};
    AtEndOfRun atEnd = AtEndOfRun::Stays;
    bool waitsForService = false;
    StatusWindowDuringWait window = StatusWindowDuringWait::Kept;
};

// Follows the script line by line, keeping what the runner keeps between
// lines: the entry named last, and the applications to close at the end.
class ActionTracker {
  public:
    // machine is null when only the text is looked at.
    explicit ActionTracker(Machine* machine) : machine_(machine) {}
    LineAction Next(const CheckedLine& line);
    // The launches from > and >> lines, closed or killed at the end of the run.
    const std::vector<LineAction>& ClosedAtEnd() const { return closedAtEnd_; }
    const std::string& ConnectionName() const { return connectionName_; }

  private:
    LineAction Launch(std::string_view text, ActionKind kind);
    static LineAction Launch(const ProgramChoice& choice, ActionKind kind);
    LineAction Plain(std::string_view text);
    LineAction Close(const RecognisedLine& line);
    LineAction Connection(std::string_view text);

    Machine* machine_;
    std::string connectionName_;
    std::vector<LineAction> closedAtEnd_;
};

// Without the machine, a closing line's name ending in .exe is taken for a
// path, as the script's author meant it.
bool ClosesByPathInText(std::string_view name);

// The program a launch text starts: on the machine when there is one, else
// as the text alone tells.
ProgramChoice ChooseProgramOn(std::string_view text, Machine* machine);

}  // namespace skervo
