// The checker and the runner agree: scripts made of random lines, drawn from
// the command forms and their malformed neighbours, are checked and then run
// on the same simulated desktop, one more line at a time, so that what the
// desktop recorded can be put down to each line. Each script has a seed of
// its own, and draws its forms from a fixed number of slots: a form added at
// the end changes only the scripts that draw its slot.
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "check/line_action.h"
#include "check/script_check.h"
#include "check/system_machine.h"
#include "script/variables.h"
#include "tests/sim/sim_test.h"

using sim::desktop;

namespace {

// What the desktop recorded of a run, to be compared from one run to the next.
struct Record {
    std::size_t boxes = 0;
    std::vector<std::string> started;  // images, lower-case
    std::size_t dials = 0;
    std::string lastDial;
    std::size_t invocations = 0;
    std::vector<std::string> actions;
    std::uint64_t elapsed = 0;
    std::map<std::string, std::uint32_t> serviceStates;
};

Record Recorded() {
    Record record{desktop.boxes.size(),
                  {},
                  desktop.dialup.dials.size(),
                  "",
                  desktop.shell.invocations.size(),
                  desktop.actions,
                  desktop.elapsed,
                  {}};
    for (const auto& [id, process] : desktop.processes) {
        record.started.push_back(sim::Lower(process.image));
    }
    if (!desktop.dialup.dials.empty()) {
        record.lastDial = desktop.dialup.dials.back().entryName;
    }
    for (const auto& [name, service] : desktop.services.services) {
        record.serviceStates[name] = service.state;
    }
    return record;
}

constexpr const char* kLibrary = "C:\\Windows\\System32\\user32.dll";

// More than there are forms, so that adding one keeps the others' slots.
constexpr std::size_t kFormSlots = 64;

std::vector<std::string> Added(std::vector<std::string> now, std::vector<std::string> before) {
    std::sort(now.begin(), now.end());
    std::sort(before.begin(), before.end());
    std::vector<std::string> added;
    std::set_difference(now.begin(), now.end(), before.begin(), before.end(),
                        std::back_inserter(added));
    return added;
}

}  // namespace

class CheckAgreementTest : public SimTest {
  protected:
    // A fresh run state and the same desktop, for the check and for every
    // run: nothing one leaves behind reaches the next.
    static void Arrange() {
        ResetRunState();
        desktop = sim::Desktop{};
        desktop.files[kLibrary] = "";
        desktop.AddProgram(
            "C:\\Outils\\app.exe",
            {.libraries = {kLibrary}, .windowTitles = {"Bloc-notes - app"}, .runsFor = 3000});
        desktop.AddProgram("C:\\Program Files\\App\\app.exe", {.runsFor = 2000});
        desktop.AddProgram("C:\\Windows\\System32\\rasphone.exe", {.runsFor = 1000});
        desktop.files["C:\\Docs\\note.txt"] = "";
        desktop.shell.folders["C:\\Docs\\"]["note.txt"] = {};
        desktop.services.services["spouleur"] = {};
        desktop.services.services["rasman"] = {.state = skervo::platform::kServiceRunning};
        desktop.libraries["rasapi32.dll"] = sim::RasExports("A");
        desktop.dialup.phoneBook["Bureau"] = {};
        desktop.environment = {{"DOSSIER", L"C:\\Outils"},
                               {"BUREAU", L"Bureau"},
                               {"ARRET", L"NETSTOP"},
                               {"CHEVRON", L"<Bureau"}};
        // Connections end by themselves, so that the end of a run never waits for good.
        desktop.onSleep = [] { desktop.dialup.connections.clear(); };
    }

    static Record Run(const std::string& script) {
        Arrange();
        desktop.files["C:\\s.skervo"] = script;
        RunProgram("C:\\s.skervo /Silent");
        sim::FinishDials();
        return Recorded();
    }
};

TEST_F(CheckAgreementTest, ErrorsShowInTheRunPassedLinesDoNotAndExplanationsMatch) {
    // The command forms and their malformed neighbours; &- and &> are left
    // out, since a silent run waits for their connections for good.
    const std::vector<std::string> forms = {
        "C:\\Outils\\app.exe",
        "C:\\Outils\\app.exe /x",
        "\"C:\\Program Files\\App\\app.exe\" /x",
        "C:\\Program Files\\App\\app.exe /x",
        "C:\\Program Files\\App\\app.exe",
        "C:\\Outils\\absent.exe",
        "app.exe",
        "C:\\Docs\\note.txt",
        "C:\\Docs\\absent.txt",
        ">C:\\Outils\\app.exe",
        ">>C:\\Outils\\app.exe",
        ">C:\\Outils\\absent.exe",
        ">",
        "<Bloc-notes",
        "<<Bloc-notes",
        "<C:\\Outils\\app.exe",
        "<<C:\\Outils\\app.exe",
        "<app.exe",
        "<",
        "@2",
        "@0",
        "@-3",
        "@2 # deux secondes",
        "@C:\\Outils\\app.exe",
        "@ C:\\Outils\\app.exe",
        "@",
        "@NETSTART Spouleur",
        "NETSTART Spouleur",
        "NETSTOP Spouleur",
        "NETSTART Inconnu",
        "NETSTART",
        "-",
        "+",
        "- cache",
        "&&Bureau",
        "&&Inconnue",
        "&&",
        "&Bureau",
        "&Mon entree",
        "&<",
        "&< maintenant",
        "# commentaire",
        "C:\\Outils\\app.exe # note",
        "C:\\Outils\\app",          // no .exe is added
        "C:\\Outils\\app.exe\r@2",  // a lone CR joins the two
        "<<C:\\Windows\\System32\\user32.dll",
        "%DOSSIER%\\app.exe /x",
        ">%dossier%\\app.exe",
        "<<%DOSSIER%\\app.exe",
        "%INCONNUE%\\app.exe",
        "&&%BUREAU%",
        "%ARRET% Spouleur",  // a value never makes the line a service's
        "&%CHEVRON%",        // nor another connection command
    };
    ASSERT_LE(forms.size(), kFormSlots);
    for (int script = 0; script < 120; ++script) {
        std::mt19937 random(script);
        std::vector<std::string> lines(1 + random() % 6);
        for (std::string& line : lines) {
            std::size_t slot;
            do {
                slot = random() % kFormSlots;
            } while (slot >= forms.size());
            line = forms[slot];
        }
        std::string text;
        for (const std::string& line : lines) {
            text += line + "\n";
        }
        SCOPED_TRACE("seed " + std::to_string(script));
        Arrange();
        skervo::SystemMachine machine;
        desktop.files["C:\\s.skervo"] = text;
        const skervo::ScriptCheck check =
            skervo::CheckScript({"C:\\s.skervo", {}},
                                {.explanations = skervo::Explanations::Given, .machine = &machine});

        Record before = Run("");
        std::size_t explained = 0;
        for (std::size_t k = 0; k < lines.size(); ++k) {
            const int number = static_cast<int>(k + 1);
            std::string prefix;
            for (std::size_t i = 0; i <= k; ++i) {
                prefix += lines[i] + "\n";
            }
            // A comment after the line keeps it from being the last, as in the whole script.
            const Record after = Run(k + 1 < lines.size() ? prefix + "#\n" : prefix);
            SCOPED_TRACE(text + "line " + std::to_string(number));
            const std::size_t boxes = after.boxes - before.boxes;
            const std::vector<std::string> started = Added(after.started, before.started);
            const std::size_t dials = after.dials - before.dials;
            const std::size_t invocations = after.invocations - before.invocations;
            const bool nothingDone = boxes == 0 && started.empty() && dials == 0 &&
                                     invocations == 0 &&
                                     Added(after.actions, before.actions).empty();
            bool error = false;
            bool passed = true;
            bool unverified = false;  // a path the checker does not probe
            for (const skervo::Finding& finding : check.findings) {
                if (finding.line == number) {
                    error |= finding.severity == skervo::Severity::Error;
                    passed &= finding.severity == skervo::Severity::Remark;
                    unverified |= finding.severity == skervo::Severity::Remark &&
                                  (finding.code == "chemin-relatif" || finding.code == "reseau");
                }
            }
            // A closing line aimed at a library closes whatever loaded it.
            const bool closedOthers = lines[k].starts_with('<') && boxes == 0 && started.empty();
            if (error) {
                EXPECT_TRUE(boxes > 0 || nothingDone || closedOthers)
                    << "an error the run does not show";
            }
            if (passed) {
                EXPECT_EQ(boxes, 0u) << "a box on a line the checker passed";
            }
            const bool comment = lines[k].starts_with('#');
            if (comment || error || unverified) {
                explained += comment ? 0 : 1;
                before = after;
                continue;
            }
            // The action /Expliquer gave this line is the one the desktop recorded.
            ASSERT_LT(explained, check.explanations.size());
            EXPECT_EQ(check.explanations[explained++].first, number);
            skervo::SystemMachine sameMachine;
            skervo::ActionTracker tracker(&sameMachine);
            skervo::LineAction action;
            for (std::size_t i = 0; i <= k; ++i) {
                const std::string_view trimmed = lines[i];
                if (!skervo::IsCommentOrEmpty(trimmed)) {
                    // As the line is carried out on this PC, its variables replaced.
                    const skervo::CarriedOutLine carried(trimmed);
                    action = tracker.Next({static_cast<int>(i + 1), carried.Text(),
                                           carried.Recognised(), i + 1 == lines.size()});
                }
            }
            using skervo::ActionKind;
            switch (action.kind) {
                case ActionKind::Launch:
                case ActionKind::LaunchAndWait:
                    EXPECT_EQ(started, std::vector<std::string>{sim::Lower(action.subject)});
                    break;
                case ActionKind::OpenDocument:
                    EXPECT_EQ(invocations, 1u);
                    EXPECT_TRUE(started.empty());
                    break;
                case ActionKind::StartService:
                    EXPECT_NE(after.serviceStates.at(sim::Lower(action.subject)),
                              skervo::platform::kServiceStopped);
                    break;
                case ActionKind::StopService:
                    EXPECT_NE(after.serviceStates.at(sim::Lower(action.subject)),
                              skervo::platform::kServiceRunning);
                    break;
                case ActionKind::Pause:
                    EXPECT_GE(
                        after.elapsed - before.elapsed,
                        static_cast<std::uint64_t>(std::max(0, std::stoi(action.subject))) * 1000);
                    break;
                case ActionKind::AutomaticDial:
                    EXPECT_EQ(dials, 1u);
                    EXPECT_EQ(after.lastDial, action.subject);
                    break;
                case ActionKind::DialogDial:
                    EXPECT_EQ(started,
                              std::vector<std::string>{"c:\\windows\\system32\\rasphone.exe"});
                    break;
                case ActionKind::KillApplication:
                case ActionKind::CloseApplication:
                case ActionKind::CloseTitledWindows:
                    for (const std::string& done : Added(after.actions, before.actions)) {
                        EXPECT_TRUE(done.starts_with(
                            action.kind == ActionKind::KillApplication ? "kill " : "close "))
                            << done;
                    }
                    EXPECT_TRUE(started.empty());
                    break;
                case ActionKind::Nothing:
                case ActionKind::HideWindow:
                case ActionKind::ShowWindow:
                case ActionKind::WaitForConnection:
                case ActionKind::WaitForNoConnection:
                case ActionKind::HangUpAll:
                    EXPECT_TRUE(started.empty() && dials == 0 && invocations == 0);
                    break;
            }
            before = after;
        }
    }
}
