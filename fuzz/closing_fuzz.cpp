// The closing's name handling: an application named by a path is closed or
// killed through its processes, one named by a title fragment only has the
// windows whose titles hold the fragment closed, and an empty name (quotes
// and blanks only) closes nothing.
#include <cstdint>
#include <string>
#include <string_view>

#include "common/files.h"
#include "common/run_state.h"
#include "common/text_rules.h"
#include "fuzz/fuzz_check.h"
#include "programs/application_closing.h"

namespace {

void ArrangeDesktop() {
    sim::desktop.AddProgram("C:\\Outils\\app.exe", {.windowTitles = {"Rapport du jour"}});
    sim::desktop.AddProgram("C:\\Program Files\\Editeur\\editeur.exe",
                            {.windowTitles = {"Sans titre - Editeur", ""}},
                            "C:\\PROGRA~1\\EDITEUR\\EDITEUR.EXE");
    sim::desktop.StartProcess("C:\\Outils\\app.exe");
    sim::desktop.StartProcess("C:\\Outils\\app.exe");
    sim::desktop.StartProcess("C:\\Program Files\\Editeur\\editeur.exe");
}

// The name as the user meant it: a name ending in a quote was quoted.
std::string_view Unquoted(std::string_view name) {
    if (!name.ends_with('"')) {
        return name;
    }
    return skervo::Trim(name.size() >= 2 ? name.substr(1, name.size() - 2) : std::string_view{});
}

}  // namespace

// The first byte chooses between < (close) and << (kill).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    FreshDesktop();
    ArrangeDesktop();
    const bool kill = data[0] & 1;
    skervo::runState.ClosingCommand = true;
    skervo::runState.NoConfirmation = kill;
    const std::string name(reinterpret_cast<const char*>(data) + 1, size - 1);
    skervo::CloseApplication(name);

    const std::string fragment(Unquoted(name));
    const bool byPath = !fragment.empty() && skervo::FileExists(fragment);
    for (const std::string& action : sim::desktop.actions) {
        Check(!fragment.empty(), "an empty name closes nothing");
        if (action.starts_with("kill ")) {
            Check(kill && byPath, "only << on a path kills");
        } else {
            Check(!kill || !byPath, "<< on a path never asks");
            Check(byPath || action.substr(6).find(fragment) != std::string::npos,
                  "a closed window's title holds the fragment");
        }
    }
    Check(sim::desktop.OpenHandleCount() == 0, "no handle is left open");
    return 0;
}
