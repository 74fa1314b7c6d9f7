#pragma once
// The one run a process carries out, in process-wide storage.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/shell.h"
#include "platform/types.h"

namespace skervo {

// An application to close at the end of the run; thread id 0 means terminate.
struct StartedApp {
    platform::KernelHandle process{};
    std::uint32_t threadId = 0;
};

struct RunState {
    // Parameter 0 is the program's own path; the script is parameter 1.
    std::vector<std::string> Parameters;
    bool UseStatusWindow = false;

    std::string ScriptLine;
    bool ClosingCommand = false;
    bool NoConfirmation = false;
    // 64 bits, so that any 32-bit count of seconds is a pause of its full length.
    std::int64_t PauseMilliseconds = 0;
    bool IsNT = false;
    std::string ConnectionName;
    std::vector<StartedApp> StartedApps;
    bool StopRequested = false;

    std::string StepText;
    std::string PreviousStepText;

    platform::WindowHandle StatusWindowHandle{};
    bool TrayIconPresent = false;
    platform::NotifyIconRecord TrayIconData{};
};

extern RunState runState;

}  // namespace skervo
