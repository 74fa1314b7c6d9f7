// The checker on arbitrary bytes: it never fails, every finding names a line
// of the script and a code, and its report has one line per finding.
#include <algorithm>
#include <cstdint>
#include <string>

#include "check/report.h"
#include "check/script_check.h"
#include "check/system_machine.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FreshDesktop();
    const std::string content(reinterpret_cast<const char*>(data), size);
    sim::desktop.files["C:\\s.skervo"] = content;
    sim::desktop.AddProgram("C:\\a.exe");
    skervo::SystemMachine machine;
    const skervo::ScriptCheck check = skervo::CheckScript(
        {"C:\\s.skervo", {}}, {.explanations = skervo::Explanations::Given, .machine = &machine});
    Check(check.readable, "the script is read");
    const auto lines = static_cast<int>(std::count(content.begin(), content.end(), '\n')) + 2;
    for (const skervo::Finding& finding : check.findings) {
        Check(finding.line >= 1 && finding.line <= lines, "a finding names a line of the script");
        Check(!finding.code.empty() && !finding.message.empty(), "a finding has a code and a text");
        Check(finding.message.find('\n') == std::string::npos, "a finding is one line");
    }
    const std::string report = skervo::Report("s", check);
    const auto reported = static_cast<std::size_t>(std::count(report.begin(), report.end(), '\n'));
    Check(reported == check.findings.size() + check.explanations.size() +
                          (check.endOfRun.empty() ? 0 : 1),
          "one report line per finding and sentence");
    Check(sim::desktop.processes.empty() && sim::desktop.services.starts.empty() &&
              sim::desktop.services.stops.empty() && sim::desktop.dialup.dials.empty(),
          "the checker starts nothing");
    Check(sim::desktop.OpenHandleCount() == 0, "the checker keeps nothing open");
    return 0;
}
